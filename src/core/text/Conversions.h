#pragma once

#include <string>
#include <string_view>

// The shrinking conversions of the edit menu, as plain text functions.
namespace core {

inline constexpr int ConversionCount = 9;

struct Converted {
    std::u16string text;
    long long byteDelta = 0; // change of the Shift_JIS length
    bool deltaKnown = false;
    // Every unit of the result has a form in the code page wherever every unit of the text had
    // one (units taken out, or ASCII and half-width forms put in their place).
    bool keepsForms = false;
};

// The body after conversion k (0 to 8); every occurrence is handled in one left-to-right pass.
// The result is written in `storage` when given (its old text need not be cleared).
Converted convert(int k, std::u16string_view text, std::u16string storage = {});
inline std::u16string convertedText(int k, std::u16string_view text) {
    return convert(k, text).text;
}

} // namespace core
