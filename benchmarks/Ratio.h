#pragma once

#include <string>
#include <vector>

namespace bench {

struct Comparison {
    std::string name; // printed as "ratio NAME ..."
    std::string ours; // benchmark names as registered
    std::string baseline;
};

// Runs the registered benchmarks, then prints one line per comparison:
// "ratio NAME OURS_NS BASELINE_NS OURS/BASELINE" (time per iteration, real time).
int runWithRatios(int argc, char** argv, const std::vector<Comparison>& comparisons);

void printRatio(const std::string& name, double oursNs, double baselineNs);

} // namespace bench
