#pragma once

#include <string>
#include <string_view>

// File names compare the way NTFS compares them: unit by unit after upper-casing.
namespace platform {

char16_t upcaseUnit(char16_t unit);
std::u16string upcase(std::u16string_view text);
bool sameNameIgnoringCase(std::u16string_view a, std::u16string_view b);
// <0, 0 or >0, by upper-cased units, then by the exact units so the order is total.
int compareNamesIgnoringCase(std::u16string_view a, std::u16string_view b);
// "*" matches any run (also an empty one), "?" any one unit; the rest compares ignoring case.
bool wildcardMatch(std::u16string_view pattern, std::u16string_view name);

} // namespace platform
