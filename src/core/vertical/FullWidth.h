#pragma once

#include <string>
#include <string_view>

namespace core {

// The vertical layout's first step: every character that is one byte in Shift_JIS becomes its
// full-width form (a half-width kana with a following voiced or semi-voiced mark becomes one
// character); double-byte characters and control characters stay as they are.
std::u16string toFullWidthText(std::u16string_view text);

// Same, handing each resulting character to sink(char16_t) instead of building a string.
// Before a run of narrow characters is handed on, widened(runLength, widenedLength) is told
// how long it became.
template <class Sink, class Widened> void forEachFullWidth(std::u16string_view text, Sink&& sink, Widened&& widened);

namespace detail {
// Characters whose full-width form is themselves, whatever their byte length: control
// characters, kana, CJK and the full-width block itself, and surrogate halves.
constexpr bool keepsItsForm(char16_t c) {
    return c < 0x20 || (c >= 0x3000 && c < 0xFF00) || (c >= 0xD800 && c < 0xE000);
}
constexpr bool isVoicedMark(char16_t c) {
    return c == u'\uFF9E' || c == u'\uFF9F';
}
bool isNarrow(char16_t c);
std::u16string widen(std::u16string_view run);
// The full-width form of each ASCII character as the width tables give it (0 where that is
// not a single character), looked up once.
const char16_t* asciiWide();
} // namespace detail

template <class Sink, class Widened> void forEachFullWidth(std::u16string_view text, Sink&& sink, Widened&& widened) {
    const char16_t* ascii = detail::asciiWide();
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const char16_t c = text[i];
        if (c < 0x80 && c >= 0x20 && ascii[c] && (i + 1 == n || !detail::isVoicedMark(text[i + 1]))) {
            sink(ascii[c]);
            ++i;
            continue;
        }
        if (detail::keepsItsForm(c) || !detail::isNarrow(c)) {
            sink(c);
            ++i;
            continue;
        }
        // Widen a whole run of narrow characters at once, so voiced marks join their kana.
        std::size_t end = i + 1;
        while (end < n && !detail::keepsItsForm(text[end]) && detail::isNarrow(text[end]))
            ++end;
        const std::u16string wide = detail::widen(text.substr(i, end - i));
        widened(end - i, wide.size());
        for (char16_t w : wide)
            sink(w);
        i = end;
    }
}

} // namespace core
