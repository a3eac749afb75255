#include "core/text/Compaction.h"

#include "core/vertical/Simd.h"

#include "platform/StringStorage.h"
#include "platform/Vectors.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KOTORI_PACK_SSSE3 1
#include <immintrin.h>
#endif

namespace core {

namespace {

// Unit i goes when it is half of a CR LF pair of the input.
bool inPair(const char16_t* p, std::size_t i, std::size_t n) {
    return (p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n') || (p[i] == u'\n' && i > 0 && p[i - 1] == u'\r');
}

#ifdef KOTORI_PACK_SSSE3

using Shuffle = std::array<std::uint8_t, 16>;

// For each 8-bit mask of lanes to keep, the byte shuffle that moves those lanes to the front.
constexpr std::array<Shuffle, 256> makePackShuffles() {
    std::array<Shuffle, 256> t{};
    for (unsigned mask = 0; mask < 256; ++mask) {
        unsigned to = 0;
        for (unsigned lane = 0; lane < 8; ++lane) {
            if (mask & (1u << lane)) {
                t[mask][2 * to] = static_cast<std::uint8_t>(2 * lane);
                t[mask][2 * to + 1] = static_cast<std::uint8_t>(2 * lane + 1);
                ++to;
            }
        }
        for (unsigned b = 2 * to; b < 16; ++b)
            t[mask][b] = 0x80;
    }
    return t;
}
alignas(16) constexpr std::array<Shuffle, 256> PackShuffles = makePackShuffles();

constexpr std::array<std::uint8_t, 256> makeLaneCounts() {
    std::array<std::uint8_t, 256> t{};
    for (unsigned mask = 0; mask < 256; ++mask)
        t[mask] = static_cast<std::uint8_t>(std::popcount(mask));
    return t;
}
constexpr std::array<std::uint8_t, 256> LaneCounts = makeLaneCounts(); // no popcnt instruction needed

bool hasSsse3() {
    static const bool yes = __builtin_cpu_supports("ssse3");
    return yes && platform::vectorsAtLeast(platform::VectorLevel::Sse);
}

inline __m128i load(const char16_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// One bit per lane whose 16-bit compare came out true.
inline unsigned laneBits(__m128i eq) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(eq, _mm_setzero_si128()))) & 0xFFu;
}

// Stores the lanes of `units` named by `keep` at `out`, in order; returns the end of what it kept.
__attribute__((target("ssse3"))) inline char16_t* pack(__m128i units, unsigned keep, char16_t* out) {
    __m128i order = _mm_load_si128(reinterpret_cast<const __m128i*>(PackShuffles[keep].data()));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(units, order));
    return out + LaneCounts[keep];
}

__attribute__((target("ssse3"))) std::size_t packWithout(const char16_t* p, std::size_t n, char16_t what,
                                                         char16_t*& end) {
    // A local pointer: stores through __m128i may alias anything, the caller's pointer included.
    char16_t* out = end;
    const __m128i target = _mm_set1_epi16(static_cast<short>(what));
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        __m128i units = load(p + i);
        out = pack(units, ~laneBits(_mm_cmpeq_epi16(units, target)) & 0xFFu, out);
    }
    end = out;
    return i;
}

// Blocks look one unit back and one ahead, so they run from `from` >= 1 and stop before the end.
__attribute__((target("ssse3"))) std::size_t packWithoutPairs(const char16_t* p, std::size_t from, std::size_t n,
                                                              char16_t*& end) {
    char16_t* out = end;
    const __m128i cr = _mm_set1_epi16(u'\r'), lf = _mm_set1_epi16(u'\n');
    std::size_t i = from;
    for (; i + 9 <= n; i += 8) {
        __m128i units = load(p + i);
        __m128i pairStart = _mm_and_si128(_mm_cmpeq_epi16(units, cr), _mm_cmpeq_epi16(load(p + i + 1), lf));
        __m128i pairEnd = _mm_and_si128(_mm_cmpeq_epi16(units, lf), _mm_cmpeq_epi16(load(p + i - 1), cr));
        out = pack(units, ~laneBits(_mm_or_si128(pairStart, pairEnd)) & 0xFFu, out);
    }
    end = out;
    return i;
}

// Where the processor can compress a vector by a mask, 32 units go at a time.
bool hasCompress() {
    static const bool yes = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi2");
    return yes && platform::vectorsAtLeast(platform::VectorLevel::Avx512);
}

#define KOTORI_COMPRESS __attribute__((target("avx512f,avx512bw,avx512vbmi2,popcnt")))

KOTORI_COMPRESS inline __m512i loadWide(const char16_t* p) {
    return _mm512_loadu_si512(p);
}

// Stores the lanes of `units` named by `keep` at `out`, in order. The store is always a whole
// vector: the output never runs ahead of the input, so it stays inside the buffer.
// Compressing takes the processor several cycles: a block that keeps all its lanes (most of
// them, where what goes is rare) is stored as it is.
KOTORI_COMPRESS inline char16_t* compress(__m512i units, __mmask32 keep, char16_t* out) {
    if (keep == 0xFFFFFFFFu) {
        _mm512_storeu_si512(out, units);
        return out + 32;
    }
    _mm512_storeu_si512(out, _mm512_maskz_compress_epi16(keep, units));
    return out + std::popcount(static_cast<std::uint32_t>(keep));
}

KOTORI_COMPRESS std::size_t compressWithout(const char16_t* p, std::size_t n, char16_t what, char16_t*& end) {
    char16_t* out = end;
    const __m512i target = _mm512_set1_epi16(static_cast<short>(what));
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m512i units = loadWide(p + i);
        out = compress(units, ~_mm512_cmpeq_epi16_mask(units, target), out);
    }
    end = out;
    return i;
}

// As packWithoutPairs, 32 units at a time.
KOTORI_COMPRESS std::size_t compressWithoutPairs(const char16_t* p, std::size_t from, std::size_t n, char16_t*& end) {
    char16_t* out = end;
    const __m512i cr = _mm512_set1_epi16(u'\r'), lf = _mm512_set1_epi16(u'\n');
    std::size_t i = from;
    for (; i + 33 <= n; i += 32) {
        const __m512i units = loadWide(p + i);
        const __mmask32 pairStart =
            _mm512_mask_cmpeq_epi16_mask(_mm512_cmpeq_epi16_mask(units, cr), loadWide(p + i + 1), lf);
        const __mmask32 pairEnd =
            _mm512_mask_cmpeq_epi16_mask(_mm512_cmpeq_epi16_mask(units, lf), loadWide(p + i - 1), cr);
        out = compress(units, ~(pairStart | pairEnd), out);
    }
    end = out;
    return i;
}

// Skips the 32-unit blocks that hold no CR LF pair; the slower loops find the pair in the next one.
KOTORI_COMPRESS std::size_t blocksWithoutPair(const char16_t* p, std::size_t n) {
    const __m512i cr = _mm512_set1_epi16(u'\r'), lf = _mm512_set1_epi16(u'\n');
    std::size_t i = 0;
    while (i + 33 <= n &&
           _mm512_mask_cmpeq_epi16_mask(_mm512_cmpeq_epi16_mask(loadWide(p + i), cr), loadWide(p + i + 1), lf) == 0)
        i += 32;
    return i;
}

#endif

} // namespace

std::u16string withoutUnit(std::u16string_view text, char16_t what, std::u16string storage) {
    const std::size_t n = text.size();
    std::u16string out = std::move(storage);
    platform::sizeForOverwrite(out, n + 8); // room for the last block's full store
    char16_t* o = out.data();
    std::size_t i = 0;
#ifdef KOTORI_PACK_SSSE3
    if (hasCompress())
        i = compressWithout(text.data(), n, what, o);
    if (hasSsse3())
        i += packWithout(text.data() + i, n - i, what, o);
#endif
    for (; i < n; ++i) {
        *o = text[i];
        o += text[i] != what;
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

#ifdef KOTORI_PACK_SSSE3
namespace {

// Sixteen units a step; the hits are counted in the lanes and added up every 4096 steps, before
// a lane could overflow. Returns where it stopped.
__attribute__((target("avx2"))) std::size_t replaceUnitWide(const char16_t* p, std::size_t n, char16_t from,
                                                            char16_t to, char16_t* o, long long& count) {
    const __m256i was = _mm256_set1_epi16(static_cast<short>(from));
    const __m256i becomes = _mm256_set1_epi16(static_cast<short>(to));
    std::size_t i = 0;
    while (i + 16 <= n) {
        __m256i hits = _mm256_setzero_si256();
        for (const std::size_t stop = i + 16 * 4096; i + 16 <= n && i < stop; i += 16) {
            const __m256i units = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
            const __m256i eq = _mm256_cmpeq_epi16(units, was);
            hits = _mm256_sub_epi16(hits, eq); // a true lane is -1
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(o + i), _mm256_blendv_epi8(units, becomes, eq));
        }
        alignas(32) std::uint16_t lanes[16];
        _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), hits);
        for (const std::uint16_t lane : lanes)
            count += lane;
    }
    return i;
}

// replaceUnitWide 32 units a step, the hits a bit each in a mask register.
__attribute__((target("avx512f,avx512bw,popcnt"))) std::size_t
replaceUnitMasked(const char16_t* p, std::size_t n, char16_t from, char16_t to, char16_t* o, long long& count) {
    const __m512i was = _mm512_set1_epi16(static_cast<short>(from));
    const __m512i becomes = _mm512_set1_epi16(static_cast<short>(to));
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m512i units = _mm512_loadu_si512(p + i);
        const __mmask32 hits = _mm512_cmpeq_epi16_mask(units, was);
        count += std::popcount(static_cast<std::uint32_t>(hits));
        _mm512_storeu_si512(o + i, _mm512_mask_mov_epi16(units, hits, becomes));
    }
    return i;
}

} // namespace
#endif

std::u16string withUnitReplaced(std::u16string_view text, char16_t from, char16_t to, long long& count,
                                std::u16string storage) {
    const std::size_t n = text.size();
    const char16_t* p = text.data();
    std::u16string out = std::move(storage);
    platform::sizeForOverwrite(out, n);
    char16_t* o = out.data();
    count = 0;
    std::size_t i = 0;
#ifdef KOTORI_PACK_SSSE3
    if (simd::masked())
        i = replaceUnitMasked(p, n, from, to, o, count);
    else if (platform::vectorsAtLeast(platform::VectorLevel::Avx2)) // the processor has AVX2 then
        i = replaceUnitWide(p, n, from, to, o, count);
    const std::size_t blocks = platform::vectorsAtLeast(platform::VectorLevel::Sse) ? n : 0;
    const __m128i was = _mm_set1_epi16(static_cast<short>(from)), becomes = _mm_set1_epi16(static_cast<short>(to));
    for (; i + 8 <= blocks; i += 8) {
        __m128i units = load(p + i);
        __m128i eq = _mm_cmpeq_epi16(units, was);
        count += LaneCounts[laneBits(eq)];
        units = _mm_or_si128(_mm_and_si128(eq, becomes), _mm_andnot_si128(eq, units));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + i), units);
    }
#endif
    for (; i < n; ++i) {
        count += p[i] == from;
        o[i] = p[i] == from ? to : p[i];
    }
    return out;
}

std::u16string withoutPairsOnce(std::u16string_view text, std::u16string storage) {
    const std::size_t n = text.size();
    const char16_t* p = text.data();
    std::u16string out = std::move(storage);
    platform::sizeForOverwrite(out, n + 8);
    char16_t* o = out.data();
    std::size_t i = 0;
    auto scalarUpTo = [&](std::size_t end) {
        for (; i < end; ++i) {
            *o = p[i];
            o += !inPair(p, i, n);
        }
    };
    scalarUpTo(n < 1 ? n : 1);
#ifdef KOTORI_PACK_SSSE3
    if (hasCompress() && i == 1)
        i = compressWithoutPairs(p, 1, n, o);
    if (hasSsse3() && i >= 1)
        i = packWithoutPairs(p, i, n, o);
#endif
    scalarUpTo(n);
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

bool holdsLineBreak(std::u16string_view text) {
    const std::size_t n = text.size();
    const char16_t* p = text.data();
    std::size_t i = 0;
#ifdef KOTORI_PACK_SSSE3
    if (hasCompress())
        i = blocksWithoutPair(p, n);
    if (platform::vectorsAtLeast(platform::VectorLevel::Sse)) {
        // Compares a block with the one a unit further on, so it stops short of the end.
        for (; i + 9 <= n; i += 8) {
            if (laneBits(_mm_and_si128(_mm_cmpeq_epi16(load(p + i), _mm_set1_epi16(u'\r')),
                                       _mm_cmpeq_epi16(load(p + i + 1), _mm_set1_epi16(u'\n')))) != 0)
                return true;
        }
    }
#endif
    for (; i + 1 < n; ++i) {
        if (p[i] == u'\r' && p[i + 1] == u'\n')
            return true;
    }
    return false;
}

} // namespace core
