#pragma once

// Eight UTF-16 units at a time where the processor has SSE2 (every x86-64 does); the callers
// keep plain loops for the rest.
#if defined(__SSE2__) || defined(_M_X64)
#define KOTORI_SSE2 1
#include "platform/Vectors.h"

#include <emmintrin.h>

namespace core::simd {

inline bool enabled() {
    return platform::vectorsAtLeast(platform::VectorLevel::Sse);
}

// Sixteen units at a time with a bit for each in a mask register (AVX-512 at 256 bits, which
// costs the processor nothing to start, unlike its full width).
inline bool masked() {
    static const bool has = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
    return has && platform::vectorsAtLeast(platform::VectorLevel::Avx512);
}

inline __m128i load(const char16_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}
inline void store(char16_t* at, __m128i units) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), units);
}
inline __m128i all(char16_t c) {
    return _mm_set1_epi16(static_cast<short>(c));
}
// All ones in the lanes of a surrogate half (high or low), else 0.
inline __m128i surrogateHalves(__m128i units) {
    return _mm_cmpeq_epi16(_mm_and_si128(units, all(0xF800)), all(0xD800));
}
// b in the lanes of mask, a elsewhere.
inline __m128i select(__m128i mask, __m128i b, __m128i a) {
    return _mm_or_si128(_mm_and_si128(mask, b), _mm_andnot_si128(mask, a));
}
// Two bits per unit.
inline unsigned bits(__m128i mask) {
    return static_cast<unsigned>(_mm_movemask_epi8(mask));
}

} // namespace core::simd
#endif
