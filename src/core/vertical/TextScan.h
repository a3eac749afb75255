#pragma once

#include "core/vertical/Simd.h"
#include "core/vertical/VerticalLayout.h"

#include <bit>
#include <cstddef>
#include <string_view>

// Vector steps for laying texts out and reading layouts back (plain loops where the processor
// has none).
namespace core::textscan {

inline constexpr std::size_t Block = 16;

// Copies a block with "｜" as "ー", noting a CR and a surrogate half in it; returns how many
// units come before the first last character of the page mark (Block when there is none):
// those need no further look. out needs room for a whole block. Inline: it runs once every
// sixteen units. copyBlockVector needs SSE2.
#ifdef KOTORI_SSE2
inline std::size_t copyBlockVector(const char16_t* in, char16_t* out, bool& cr, bool& surrogate) {
    const __m128i bar = simd::all(u'｜'), prolonged = simd::all(u'ー');
    const __m128i markEnd = simd::all(NextPageMark.back()), carriageReturn = simd::all(u'\r');
    unsigned ends = 0;
    __m128i crs = _mm_setzero_si128(), halves = _mm_setzero_si128();
    for (std::size_t k = 0; k < Block; k += 8) {
        __m128i x = simd::load(in + k);
        const __m128i isBar = _mm_cmpeq_epi16(x, bar);
        x = simd::select(isBar, prolonged, x);
        simd::store(out + k, x);
        ends |= static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(x, markEnd))) << (2 * k);
        crs = _mm_or_si128(crs, _mm_cmpeq_epi16(x, carriageReturn));
        halves = _mm_or_si128(halves, simd::surrogateHalves(x));
    }
    cr |= _mm_movemask_epi8(crs) != 0;
    surrogate |= _mm_movemask_epi8(halves) != 0;
    return ends == 0 ? Block : static_cast<std::size_t>(std::countr_zero(ends)) / 2;
}
#endif

inline std::size_t copyBlockPlain(const char16_t* in, char16_t* out, bool& cr, bool& surrogate) {
    for (std::size_t k = 0; k < Block; ++k) {
        if (in[k] == NextPageMark.back())
            return k;
        out[k] = in[k] == u'｜' ? u'ー' : in[k];
        cr |= in[k] == u'\r';
        surrogate |= (in[k] & 0xF800) == 0xD800;
    }
    return Block;
}

// Where what first occurs in text, or npos.
std::size_t find(std::u16string_view text, std::u16string_view what);
// Where c last occurs in text, or npos.
std::size_t findLast(std::u16string_view text, char16_t c);

// What a body holds that changes how it is laid out: at least its TABs and LFs (backspaces
// and vertical tabs are counted too: one test covers all four), and whether it has a "ー".
struct LayoutCounts {
    std::size_t tabsAndLineFeeds = 0;
    bool prolongedMark = false;
    bool surrogates = false; // halves of characters outside the BMP
};
LayoutCounts countForLayout(std::u16string_view text);

// CR LF pairs in text.
std::size_t countLineBreaks(std::u16string_view text);

// Whether text holds a unit of a surrogate pair (whole or not), and how many whole pairs.
bool holdsSurrogate(std::u16string_view text);
std::size_t countPairs(std::u16string_view text);

} // namespace core::textscan
