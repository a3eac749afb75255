#pragma once

#include <string>
#include <string_view>

// Number texts of the count display and the limit messages.
namespace core {

// One decimal, rounded half away from zero on the value's 15-digit decimal form: 16.15 -> "16.2".
std::u16string oneDecimal(double value);

// Plain decimal, with a fraction only when there is one: 3 -> "3", 2.5 -> "2.5".
std::u16string plainDecimal(double value);

// value / total as a whole percentage, halves rounded to even.
int percentHalfEven(long long value, long long total);

// A character limit as typed or stored: a whole number in the signed 16-bit range, spaces around
// it ignored, or 0 for anything else.
int limitNumber(std::u16string_view text);

} // namespace core
