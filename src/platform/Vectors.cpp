#include "platform/Vectors.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace platform {

VectorLevel processorVectorLevel() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const VectorLevel level = __builtin_cpu_supports("avx512bw") ? VectorLevel::Avx512
                                     : __builtin_cpu_supports("avx2")   ? VectorLevel::Avx2
                                                                        : VectorLevel::Sse;
    return level;
#else
    return VectorLevel::Plain;
#endif
}

VectorLevel capVectorLevel(VectorLevel cap) {
    const VectorLevel before = vectorLevel();
    detail::vectorLevel.store(std::min(static_cast<int>(cap), static_cast<int>(processorVectorLevel())));
    return before;
}

namespace detail {

int firstVectorLevel() {
    VectorLevel cap = VectorLevel::Avx512;
    if (const char* named = std::getenv("KOTORI_VECTORS")) {
        const std::string_view name(named);
        cap = name == "plain"  ? VectorLevel::Plain
              : name == "sse"  ? VectorLevel::Sse
              : name == "avx2" ? VectorLevel::Avx2
                               : VectorLevel::Avx512;
    }
    const int level = std::min(static_cast<int>(cap), static_cast<int>(processorVectorLevel()));
    vectorLevel.store(level);
    return level;
}

} // namespace detail
} // namespace platform
