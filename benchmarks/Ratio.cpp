#include "Ratio.h"

#include "CommandTime.h"

#include "QuickCore.h"

#include "platform/Vectors.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>

namespace bench {

namespace {

double toNs(benchmark::TimeUnit unit) {
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

// Keeps each run's time per iteration and prints nothing: the rounds are summed up at the end.
class CapturingReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations <= 0)
                continue;
            if (run.error_occurred)
                std::printf("%s: %s\n", run.benchmark_name().c_str(), run.error_message.c_str());
            // A command timed on its own (see CommandTime) reports its CPU time in a counter.
            const auto own = run.counters.find(CommandCounter);
            cpu[run.benchmark_name()] =
                own != run.counters.end() ? own->second.value : run.GetAdjustedCPUTime() * toNs(run.time_unit);
            real[run.benchmark_name()] = run.GetAdjustedRealTime() * toNs(run.time_unit);
            if (!run.report_label.empty())
                labels[run.benchmark_name()] = run.report_label;
        }
    }
    std::map<std::string, double> cpu, real;
    std::map<std::string, std::string> labels;
};

std::string exactly(const std::string& name) {
    std::string pattern = "^";
    for (char c : name) {
        if (std::strchr("\\^$.|?*+()[]{}", c))
            pattern += '\\';
        pattern += c;
    }
    return pattern + "$";
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One side of one round; a negative time when the benchmark did not report.
double runOne(CapturingReporter& reporter, const std::string& name, bool manual) {
    reporter.cpu.erase(name);
    reporter.real.erase(name);
    benchmark::RunSpecifiedBenchmarks(&reporter, exactly(name));
    const auto& times = manual ? reporter.real : reporter.cpu;
    auto it = times.find(name);
    return it == times.end() ? -1 : it->second;
}

bool runRounds(CapturingReporter& reporter, const Comparison& c, Rounds& rounds) {
    for (int r = 0; r < Repetitions; ++r) {
        useQuickestCore(c.name.c_str()); // each round: a neighbour's load comes and goes
        const double ours = runOne(reporter, c.ours, c.manualTime);
        const double base = runOne(reporter, c.baseline, c.manualTime);
        if (ours < 0 || base < 0)
            return false;
        rounds.ours.push_back(ours);
        rounds.baseline.push_back(base);
    }
    return true;
}

const char* levelName(platform::VectorLevel level) {
    switch (level) {
    case platform::VectorLevel::Plain:
        return "plain";
    case platform::VectorLevel::Sse:
        return "sse";
    case platform::VectorLevel::Avx2:
        return "avx2";
    case platform::VectorLevel::Avx512:
        return "avx512";
    }
    return "?";
}

} // namespace

double Rounds::oursNs() const {
    return median(ours);
}

double Rounds::baselineNs() const {
    return median(baseline);
}

double Rounds::ratio() const {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < ours.size() && i < baseline.size(); ++i)
        ratios.push_back(baseline[i] > 0 ? ours[i] / baseline[i] : 0.0);
    return median(ratios);
}

void printRatio(const std::string& name, double oursNs, double baselineNs, double ratio) {
    std::printf("ratio %s %.0f %.0f %.4f\n", name.c_str(), oursNs, baselineNs, ratio);
    std::fflush(stdout);
}

void printRatio(const std::string& name, const Rounds& rounds) {
    printRatio(name, rounds.oursNs(), rounds.baselineNs(), rounds.ratio());
}

double threadCpuNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

int runWithRatios(int argc, char** argv, const std::vector<Comparison>& comparisons) {
    // Each side runs five times: a shorter minimum keeps the whole run within minutes.
    std::vector<char*> args(argv, argv + argc);
    std::string minTime = "--benchmark_min_time=0.1";
    if (std::none_of(args.begin(), args.end(),
                     [](const char* a) { return std::strncmp(a, "--benchmark_min_time", 20) == 0; }))
        args.push_back(minTime.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    CapturingReporter reporter;
    std::vector<std::pair<std::string, Rounds>> results;
    const platform::VectorLevel own = platform::vectorLevel();
    // KOTORI_BENCH_ONLY=TEXT runs only the comparisons whose name holds TEXT (for profiling one).
    const char* only = std::getenv("KOTORI_BENCH_ONLY");
    for (const auto& c : comparisons) {
        if (only && c.name.find(only) == std::string::npos)
            continue;
        if (c.vectors && !only) {
            std::string levels;
            for (int l = 0; l < static_cast<int>(own); ++l) {
                platform::capVectorLevel(static_cast<platform::VectorLevel>(l));
                Rounds at;
                char figure[64];
                if (runRounds(reporter, c, at)) {
                    std::snprintf(figure, sizeof figure, " %s %.4f", levelName(static_cast<platform::VectorLevel>(l)),
                                  at.ratio());
                    levels += figure;
                }
            }
            platform::capVectorLevel(own);
            Rounds rounds;
            if (!runRounds(reporter, c, rounds)) {
                std::printf("missing benchmark for %s\n", c.name.c_str());
                continue;
            }
            std::printf("vectors %s%s %s %.4f\n", c.name.c_str(), levels.c_str(), levelName(own), rounds.ratio());
            results.emplace_back(c.name, rounds);
        } else {
            Rounds rounds;
            if (!runRounds(reporter, c, rounds)) {
                std::printf("missing benchmark for %s\n", c.name.c_str());
                continue;
            }
            results.emplace_back(c.name, rounds);
        }
        const auto& r = results.back().second;
        std::printf("%-36s %12.0f ns %12.0f ns  rounds", c.name.c_str(), r.oursNs(), r.baselineNs());
        for (std::size_t i = 0; i < r.ours.size(); ++i)
            std::printf(" %.3f", r.baseline[i] > 0 ? r.ours[i] / r.baseline[i] : 0.0);
        auto label = reporter.labels.find(c.ours);
        std::printf("%s%s\n", label == reporter.labels.end() ? "" : "  ",
                    label == reporter.labels.end() ? "" : label->second.c_str());
        std::fflush(stdout);
    }
    benchmark::Shutdown();
    for (const auto& [name, rounds] : results)
        printRatio(name, rounds);
    return 0;
}

} // namespace bench
