#pragma once

#include <string>
#include <string_view>

// The Japanese-locale full-width / half-width mapping of Windows' LCMapString.
namespace platform {

std::u16string toFullWidth(std::u16string_view text);
std::u16string toHalfWidth(std::u16string_view text);

} // namespace platform
