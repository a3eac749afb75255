#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The body's size as the phone service counts it: half its Shift_JIS byte length.
namespace core {

double weightedCount(std::u16string_view text);

// The weight of one UTF-16 unit on its own: 0.5 when it becomes one Shift_JIS byte, else 1.
double unitWeight(char16_t unit);

// "\≒0.1円 4.5文字 (6)" with the i-mode setting, "4.5文字 (6)" without.
std::u16string countDisplay(double count, std::size_t length, bool withCost);

// Yen per counted character.
inline constexpr double CostPerCharacter = 0.01615;

} // namespace core
