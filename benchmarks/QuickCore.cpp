#include "QuickCore.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifdef __linux__
#include <sched.h>
#endif

namespace bench {

#ifdef __linux__
namespace {

// Eight independent chains of integer work: what a core shared with a busy neighbour loses is
// its issue slots, which a single dependent chain would not miss.
double loopNs() {
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t a = 1, b = 2, c = 3, d = 4, e = 5, f = 6, g = 7, h = 8;
    for (int i = 0; i < 50000; ++i) {
        a ^= a << 13, a ^= a >> 7;
        b ^= b << 17, b ^= b >> 9;
        c += c >> 3 ^ 0x9E37;
        d += d >> 5 ^ 0x7F4A;
        e ^= e << 11, e ^= e >> 5;
        f += f >> 7 ^ 0x1234;
        g ^= g << 3, g += g >> 13;
        h += h >> 9 ^ 0x55AA;
    }
    asm volatile("" : : "r"(a ^ b ^ c ^ d ^ e ^ f ^ g ^ h));
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
}

bool pinTo(int core) {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(core, &set);
    return sched_setaffinity(0, sizeof set, &set) == 0;
}

} // namespace

void useQuickestCore(const char* comparison) {
    static cpu_set_t allowed;
    static const bool known = sched_getaffinity(0, sizeof allowed, &allowed) == 0;
    const char* asked = std::getenv("KOTORI_BENCH_CORE");
    if (!known || (asked && std::string(asked) == "any"))
        return;
    if (asked) {
        static bool said = false;
        const int core = std::atoi(asked);
        if (pinTo(core) && !said)
            std::printf("%s: core %d, as asked\n", comparison, core);
        said = true;
        return;
    }
    std::vector<int> cores;
    for (int core = 0; core < CPU_SETSIZE; ++core)
        if (CPU_ISSET(core, &allowed))
            cores.push_back(core);
    if (cores.size() < 2)
        return;
    static int last = -1;
    std::vector<double> best(cores.size(), 1e18);
    for (int round = 0; round < 3; ++round) // in turns, so that a passing moment falls on all
        for (std::size_t k = 0; k < cores.size(); ++k)
            if (pinTo(cores[k])) {
                loopNs(); // the move itself, and a core waking up
                best[k] = std::min(best[k], loopNs());
            }
    const std::size_t quickest = static_cast<std::size_t>(std::min_element(best.begin(), best.end()) - best.begin());
    // A core within a few percent of the quickest is as good: the run stays where it is.
    std::size_t chosen = quickest;
    for (std::size_t k = 0; k < cores.size(); ++k)
        if (cores[k] == last && best[k] < best[quickest] * 1.05)
            chosen = k;
    const double slowest = *std::max_element(best.begin(), best.end());
    pinTo(cores[chosen]);
    if (cores[chosen] != last) // said when it changes
        std::printf("%s: core %d (the slowest core took %.0f%% longer)\n", comparison, cores[chosen],
                    100 * (slowest / best[chosen] - 1));
    last = cores[chosen];
    std::fflush(stdout);
}
#else
void useQuickestCore(const char*) {}
#endif

} // namespace bench
