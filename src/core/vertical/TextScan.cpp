#include "core/vertical/TextScan.h"

#include "core/vertical/Simd.h"
#include "core/vertical/VerticalLayout.h"
#include "platform/Vectors.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace core::textscan {

#ifdef KOTORI_SSE2
namespace {

using simd::all;
using simd::load;

// Two bits per unit.
unsigned equal(const char16_t* at, char16_t c) {
    return simd::bits(_mm_cmpeq_epi16(load(at), all(c)));
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

LayoutCounts countForLayout(std::u16string_view text) {
    // 8 to 11 are exactly the units that read 11 with their two low bits set.
    const char16_t* const s = text.data();
    const std::size_t n = text.size();
    LayoutCounts counts;
    std::size_t i = 0;
#ifdef KOTORI_SSE2
    __m128i prolonged = _mm_setzero_si128(), surrogate = _mm_setzero_si128();
    const auto counted = [&](std::size_t at) {
        const __m128i units = load(s + at);
        prolonged = _mm_or_si128(prolonged, _mm_cmpeq_epi16(units, all(u'ー')));
        surrogate = _mm_or_si128(surrogate, simd::inRange(units, 0xD800, 0x800));
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
    counts.prolongedMark = simd::bits(prolonged) != 0;
    counts.surrogates = simd::bits(surrogate) != 0;
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
    for (const std::size_t stop = simd::enabled() ? n : 0; i + 9 <= stop;
         i += 8) { // the LF of a pair may be the ninth unit
        // Two bits a pair; pairs are few, so counting bits one by one is cheap.
        for (unsigned pairs = equal(s + i, u'\r') & equal(s + i + 1, u'\n'); pairs != 0; pairs &= pairs - 1)
            ++count;
    }
    count /= 2;
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
    if (simd::enabled()) {
        const __m128i mask = all(0xF800), surrogate = all(0xD800);
        __m128i seen = _mm_setzero_si128();
        for (; i + 8 <= n; i += 8)
            seen = _mm_or_si128(seen, _mm_cmpeq_epi16(_mm_and_si128(load(s + i), mask), surrogate));
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
