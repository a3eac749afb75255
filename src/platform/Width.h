#pragma once

#include <string>
#include <string_view>

// The Japanese-locale full-width / half-width mapping of Windows' LCMapString.
namespace platform {

std::u16string toFullWidth(std::u16string_view text);
std::u16string toHalfWidth(std::u16string_view text);
// The same, with how many bytes longer the result is in code page 932 (negative when shorter),
// written in `storage` when given (its old text need not be cleared).
std::u16string toHalfWidth(std::u16string_view text, long long& byteDelta, std::u16string storage = {});

} // namespace platform
