#include "core/vertical/TextScan.h"

#include "core/vertical/Simd.h"
#include "core/vertical/VerticalLayout.h"
#include "platform/Vectors.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#ifdef KOTORI_SSE2
#include <immintrin.h>
#endif

namespace core::textscan {

#ifdef KOTORI_SSE2
namespace {

using simd::all;
using simd::load;

// Two bits per unit.
unsigned equal(const char16_t* at, char16_t c) {
    return simd::bits(_mm_cmpeq_epi16(load(at), all(c)));
}

#define KOTORI_MASKED __attribute__((target("avx512f,avx512bw,avx512vl")))

// A bit per unit of the sixteen at `at`.
KOTORI_MASKED inline unsigned equal16(const char16_t* at, char16_t c) {
    return _mm256_cmpeq_epi16_mask(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)),
                                   _mm256_set1_epi16(static_cast<short>(c)));
}

// The loops below, sixteen units a step; each returns where it stopped.
KOTORI_MASKED std::size_t findMasked(std::u16string_view text, std::u16string_view what, std::size_t stop,
                                     std::size_t& found) {
    std::size_t i = 0;
    for (; i + 16 <= stop; i += 16)
        for (unsigned hits = equal16(text.data() + i, what[0]); hits != 0; hits &= hits - 1) {
            const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(hits));
            if (text.substr(at, what.size()) == what) {
                found = at;
                return i;
            }
        }
    return i;
}

KOTORI_MASKED std::size_t countLineBreaksMasked(const char16_t* s, std::size_t n, std::size_t& count) {
    std::size_t i = 0;
    for (; i + 17 <= n; i += 16) // the LF of a pair may be the seventeenth unit
        count += static_cast<std::size_t>(std::popcount(equal16(s + i, u'\r') & equal16(s + i + 1, u'\n')));
    return i;
}

KOTORI_MASKED std::size_t holdsSurrogateMasked(const char16_t* s, std::size_t n, bool& seen) {
    const __m256i mask = _mm256_set1_epi16(static_cast<short>(0xF800)),
                  surrogate = _mm256_set1_epi16(static_cast<short>(0xD800));
    __mmask16 any = 0;
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16)
        any |= _mm256_cmpeq_epi16_mask(
            _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i)), mask), surrogate);
    seen = any != 0;
    return i;
}

// countForLayout 32 units a step; returns where it stopped.
__attribute__((target("avx2"))) std::size_t countForLayoutWide(const char16_t* s, std::size_t n, LayoutCounts& counts) {
    const __m256i bar = _mm256_set1_epi16(static_cast<short>(u'ー')), three = _mm256_set1_epi16(3),
                  eleven = _mm256_set1_epi16(11), halfMask = _mm256_set1_epi16(static_cast<short>(0xF800)),
                  half = _mm256_set1_epi16(static_cast<short>(0xD800));
    __m256i prolonged = _mm256_setzero_si256(), surrogate = _mm256_setzero_si256();
    std::size_t i = 0;
    while (n - i >= 32) {
        // Sixteen-bit counters per lane, emptied before they can overflow.
        __m256i lanes = _mm256_setzero_si256();
        for (const std::size_t stop = i + 32 * std::min<std::size_t>((n - i) / 32, 0x3FFF); i < stop; i += 32) {
            const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
            const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 16));
            prolonged =
                _mm256_or_si256(prolonged, _mm256_or_si256(_mm256_cmpeq_epi16(a, bar), _mm256_cmpeq_epi16(b, bar)));
            surrogate =
                _mm256_or_si256(surrogate, _mm256_or_si256(_mm256_cmpeq_epi16(_mm256_and_si256(a, halfMask), half),
                                                           _mm256_cmpeq_epi16(_mm256_and_si256(b, halfMask), half)));
            lanes = _mm256_sub_epi16(lanes, _mm256_cmpeq_epi16(_mm256_or_si256(a, three), eleven));
            lanes = _mm256_sub_epi16(lanes, _mm256_cmpeq_epi16(_mm256_or_si256(b, three), eleven));
        }
        // Two lanes of 16 bits to one of 32: no sum can overflow.
        const __m256i pairs = _mm256_madd_epi16(lanes, _mm256_set1_epi16(1));
        alignas(32) std::int32_t laneCounts[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(laneCounts), pairs);
        for (std::int32_t lane : laneCounts)
            counts.tabsAndLineFeeds += static_cast<std::uint32_t>(lane);
    }
    counts.prolongedMark = _mm256_movemask_epi8(prolonged) != 0;
    counts.surrogates = _mm256_movemask_epi8(surrogate) != 0;
    return i;
}

} // namespace
#endif

std::size_t find(std::u16string_view text, std::u16string_view what) {
    if (what.empty() || what.size() > text.size())
        return what.empty() ? 0 : std::u16string_view::npos;
    const char16_t* const s = text.data();
    const std::size_t last = text.size() - what.size(); // the last place it can start
    std::size_t i = 0;
#ifdef KOTORI_SSE2
    if (simd::masked()) {
        std::size_t found = std::u16string_view::npos;
        i = findMasked(text, what, last + 1, found);
        if (found != std::u16string_view::npos)
            return found;
    }
    for (const std::size_t stop = simd::enabled() ? last + 1 : 0; i + 8 <= stop; i += 8) {
        for (unsigned hits = equal(s + i, what[0]); hits != 0; hits &= hits - 1) {
            const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(hits)) / 2;
            hits &= hits - 1; // both bits of the unit
            if (text.substr(at, what.size()) == what)
                return at;
        }
    }
#endif
    for (; i <= last; ++i)
        if (s[i] == what[0] && text.substr(i, what.size()) == what)
            return i;
    return std::u16string_view::npos;
}

std::size_t findLast(std::u16string_view text, char16_t c) {
    std::size_t i = text.size();
#ifdef KOTORI_SSE2
    if (simd::enabled())
        for (; i >= 8; i -= 8)
            if (const unsigned hits = equal(text.data() + i - 8, c))
                return i - 8 + static_cast<std::size_t>(31 - std::countl_zero(hits)) / 2;
#endif
    while (i > 0)
        if (text[--i] == c)
            return i;
    return std::u16string_view::npos;
}

LayoutCounts countForLayout(std::u16string_view text) {
    // 8 to 11 are exactly the units that read 11 with their two low bits set.
    const char16_t* const s = text.data();
    const std::size_t n = text.size();
    LayoutCounts counts;
    std::size_t i = 0;
#ifdef KOTORI_SSE2
    if (platform::vectorsAtLeast(platform::VectorLevel::Avx2))
        i = countForLayoutWide(s, n, counts);
    __m128i prolonged = _mm_setzero_si128(), surrogate = _mm_setzero_si128();
    const auto counted = [&](std::size_t at) {
        const __m128i units = load(s + at);
        prolonged = _mm_or_si128(prolonged, _mm_cmpeq_epi16(units, all(u'ー')));
        surrogate = _mm_or_si128(surrogate, simd::surrogateHalves(units));
        return _mm_cmpeq_epi16(_mm_or_si128(units, all(3)), all(11));
    };
    while (simd::enabled() && n - i >= 32) {
        // Sixteen-bit counters per lane, emptied before they can overflow.
        __m128i lanes = _mm_setzero_si128();
        for (const std::size_t stop = i + 32 * std::min<std::size_t>((n - i) / 32, 0x3FFF); i < stop; i += 32) {
            const __m128i four = _mm_add_epi16(_mm_add_epi16(counted(i), counted(i + 8)),
                                               _mm_add_epi16(counted(i + 16), counted(i + 24)));
            lanes = _mm_sub_epi16(lanes, four);
        }
        alignas(16) std::uint16_t laneCounts[8];
        _mm_store_si128(reinterpret_cast<__m128i*>(laneCounts), lanes);
        for (std::uint16_t lane : laneCounts)
            counts.tabsAndLineFeeds += lane;
    }
    counts.prolongedMark |= simd::bits(prolonged) != 0;
    counts.surrogates |= simd::bits(surrogate) != 0;
#endif
    for (; i < n; ++i) {
        counts.tabsAndLineFeeds += (s[i] | 3) == 11;
        counts.prolongedMark |= s[i] == u'ー';
        counts.surrogates |= static_cast<char16_t>(s[i] - 0xD800) < 0x800;
    }
    return counts;
}

std::size_t countLineBreaks(std::u16string_view text) {
    const char16_t* const s = text.data();
    const std::size_t n = text.size();
    std::size_t count = 0, i = 0;
#ifdef KOTORI_SSE2
    std::size_t pairBits = 0;
    if (simd::masked())
        i = countLineBreaksMasked(s, n, count);
    for (const std::size_t stop = simd::enabled() ? n : 0; i + 9 <= stop;
         i += 8) { // the LF of a pair may be the ninth unit
        // Two bits a pair; pairs are few, so counting bits one by one is cheap.
        for (unsigned pairs = equal(s + i, u'\r') & equal(s + i + 1, u'\n'); pairs != 0; pairs &= pairs - 1)
            ++pairBits;
    }
    count += pairBits / 2;
#endif
    for (; i + 1 < n; ++i)
        count += s[i] == u'\r' && s[i + 1] == u'\n';
    return count;
}

bool holdsSurrogate(std::u16string_view text) {
    const char16_t* const s = text.data();
    const std::size_t n = text.size();
    std::size_t i = 0;
#ifdef KOTORI_SSE2
    if (simd::masked()) {
        bool seen = false;
        i = holdsSurrogateMasked(s, n, seen);
        if (seen)
            return true;
    }
    if (simd::enabled()) {
        __m128i seen = _mm_setzero_si128();
        for (; i + 8 <= n; i += 8)
            seen = _mm_or_si128(seen, simd::surrogateHalves(load(s + i)));
        if (simd::bits(seen) != 0)
            return true;
    }
#endif
    for (; i < n; ++i)
        if ((s[i] & 0xF800) == 0xD800)
            return true;
    return false;
}

std::size_t countPairs(std::u16string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] >= 0xD800 && text[i] < 0xDC00 && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            ++count;
            ++i;
        }
    return count;
}

} // namespace core::textscan
