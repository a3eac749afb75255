#pragma once

// The CPU time of a command whose every run needs an untimed step around it (a body set
// before it, a window freed after it). Pause/ResumeTiming would add their own clock readings
// to each run, and a reading of the thread's CPU clock is a system call, which in some
// virtual machines takes microseconds: as long as a short command. So the clock is read
// around the command alone, and what an empty pair of readings takes is taken off.
#include "Ratio.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace bench {

// The counter the ratio runner takes, when a run has it, as its CPU time per iteration.
inline constexpr const char* CommandCounter = "command_cpu_ns";

class CommandTime {
public:
    explicit CommandTime(benchmark::State& state) : m_state(state), m_empty(emptyPair()) {}
    ~CommandTime() {
        m_state.counters[CommandCounter] = benchmark::Counter(m_total, benchmark::Counter::kAvgIterations);
    }
    CommandTime(const CommandTime&) = delete;
    CommandTime& operator=(const CommandTime&) = delete;

    template <typename Command> void operator()(Command&& command) {
        const double start = threadCpuNs();
        command();
        const double end = threadCpuNs();
        m_total += std::max(0.0, end - start - m_empty);
    }

private:
    // What the two readings add to a command's time: the median of empty pairs.
    static double emptyPair() {
        std::vector<double> pairs;
        for (int k = 0; k < 63; ++k) {
            const double start = threadCpuNs();
            pairs.push_back(threadCpuNs() - start);
        }
        std::nth_element(pairs.begin(), pairs.begin() + 31, pairs.end());
        return pairs[31];
    }

    benchmark::State& m_state;
    double m_empty;
    double m_total = 0;
};

} // namespace bench
