#pragma once

#include <atomic>

// How wide the vector instructions of the text loops may be: what the processor has, capped by
// the environment variable KOTORI_VECTORS ("plain", "sse", "avx2", "avx512") or by a test, so
// that every path can be run on one machine.
namespace platform {

enum class VectorLevel { Plain = 0, Sse = 1, Avx2 = 2, Avx512 = 3 };

namespace detail {
inline std::atomic<int> vectorLevel{-1};
int firstVectorLevel();
} // namespace detail

inline VectorLevel vectorLevel() {
    const int level = detail::vectorLevel.load(std::memory_order_relaxed);
    return static_cast<VectorLevel>(level >= 0 ? level : detail::firstVectorLevel());
}
inline bool vectorsAtLeast(VectorLevel level) {
    return vectorLevel() >= level;
}

VectorLevel processorVectorLevel();
// The lower of cap and what the processor has; returns the level in force before.
VectorLevel capVectorLevel(VectorLevel cap);

} // namespace platform
