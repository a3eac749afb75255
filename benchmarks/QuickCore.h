#pragma once

namespace bench {

// Moves the calling thread (and the processes it starts) to the processor core that runs a
// short mixed loop fastest right now, and says which, after the comparison's name, when that
// changes. The cores of a virtual machine share their physical cores with other guests: one
// can run a third slower than its twin for minutes, and a comparison taken there moves with
// that guest's load rather than ours.
// KOTORI_BENCH_CORE=N picks core N; KOTORI_BENCH_CORE=any leaves the choice to the system.
void useQuickestCore(const char* comparison);

} // namespace bench
