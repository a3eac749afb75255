#pragma once

#include <string>
#include <vector>

namespace bench {

struct Comparison {
    std::string name; // printed as "ratio NAME ..."
    std::string ours; // benchmark names as registered
    std::string baseline;
    // Also run at every vector level the processor has (KOTORI_VECTORS), reported beside it.
    bool vectors = false;
    // Times the benchmarks set themselves (I/O waits), compared as they are instead of CPU time.
    bool manualTime = false;
};

constexpr int Repetitions = 5;

// Runs each comparison's two sides in turn (ours, baseline, ours, ...) for Repetitions rounds,
// then prints one line per comparison: "ratio NAME OURS_NS BASELINE_NS OURS/BASELINE", the
// median of each side's CPU time per iteration and the median of the rounds' ratios. CPU time
// and taking turns let load on a shared machine move both sides alike.
int runWithRatios(int argc, char** argv, const std::vector<Comparison>& comparisons);

// The median of the rounds' ratios, with each side's median, as printRatio takes them.
struct Rounds {
    std::vector<double> ours, baseline;
    double oursNs() const;
    double baselineNs() const;
    double ratio() const;
};

void printRatio(const std::string& name, double oursNs, double baselineNs, double ratio);
void printRatio(const std::string& name, const Rounds& rounds);

// CPU time of the calling thread, in nanoseconds.
double threadCpuNs();

} // namespace bench
