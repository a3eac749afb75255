#pragma once

#include <string>
#include <string_view>

// What the vertical layout needs to bring a text to full width: every character that is one
// byte in Shift_JIS becomes its full-width form (a half-width kana with a following voiced or
// semi-voiced mark becomes one character); double-byte and control characters stay.
namespace core::fullwidth {

// Characters whose full-width form is themselves, whatever their byte length: control
// characters, kana, CJK and the full-width block itself, and surrogate halves.
constexpr bool keepsItsForm(char16_t c) {
    return c < 0x20 || (c >= 0x3000 && c < 0xFF00) || (c >= 0xD800 && c < 0xE000);
}
constexpr bool isVoicedMark(char16_t c) {
    return c == u'\uFF9E' || c == u'\uFF9F';
}

bool isNarrow(char16_t c); // one byte in Shift_JIS
std::u16string widen(std::u16string_view run);

// The full-width form of each ASCII character as the width tables give it (0 where that is
// not a single character), looked up once.
const char16_t* asciiWide();

} // namespace core::fullwidth
