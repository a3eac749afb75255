#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Code page 932 exactly as Windows converts it (best fit included).
namespace platform {

// Bytes of the text in code page 932; a UTF-16 unit with no form becomes '?'.
std::string encodeCp932(std::u16string_view text);

// Text of the bytes; an invalid or unassigned sequence becomes U+30FB. A lead byte whose next byte
// cannot complete it (or that ends the input) becomes U+30FB alone and the next byte is read afresh.
std::u16string decodeCp932(std::string_view bytes);

// encodeCp932(text).size(), without building it.
std::size_t sjisLength(std::u16string_view text);

// For each UTF-16 unit, its length in code page 932: 1 or 2 bytes. For loops that ask per unit.
const unsigned char* unitLengths();

// True when the unit encodes to one byte (ASCII, half-width katakana, '?' substitutes).
bool isSingleByte(char16_t unit);

// True when the unit has a form of its own in code page 932 (best fit included), not the '?' substitute.
bool hasCp932Form(char16_t unit);

// Where the first unit without such a form is, npos when every unit has one.
std::size_t firstWithoutCp932Form(std::u16string_view text);

} // namespace platform
