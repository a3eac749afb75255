#include "Ratio.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace bench {

namespace {

class CapturingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                times[run.benchmark_name()] = run.GetAdjustedRealTime() * toNs(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;

private:
    static double toNs(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kNanosecond:
            return 1;
        case benchmark::kMicrosecond:
            return 1e3;
        case benchmark::kMillisecond:
            return 1e6;
        case benchmark::kSecond:
            return 1e9;
        }
        return 1;
    }
};

} // namespace

void printRatio(const std::string& name, double oursNs, double baselineNs) {
    std::printf("ratio %s %.0f %.0f %.4f\n", name.c_str(), oursNs, baselineNs,
                baselineNs > 0 ? oursNs / baselineNs : 0.0);
    std::fflush(stdout);
}

int runWithRatios(int argc, char** argv, const std::vector<Comparison>& comparisons) {
    benchmark::Initialize(&argc, argv);
    CapturingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const auto& c : comparisons) {
        auto ours = reporter.times.find(c.ours);
        auto base = reporter.times.find(c.baseline);
        if (ours == reporter.times.end() || base == reporter.times.end()) {
            std::printf("missing benchmark for %s\n", c.name.c_str());
            continue;
        }
        printRatio(c.name, ours->second, base->second);
    }
    return 0;
}

} // namespace bench
