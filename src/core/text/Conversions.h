#pragma once

#include <string>
#include <string_view>

// The shrinking conversions of the edit menu, as plain text functions.
namespace core {

inline constexpr int ConversionCount = 9;

// The body after conversion k (0 to 8); every occurrence is handled in one left-to-right pass.
std::u16string convertedText(int k, std::u16string_view text);

} // namespace core
