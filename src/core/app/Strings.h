#pragma once

#include <optional>
#include <string>
#include <string_view>

// Small text helpers shared by every part of the core.
namespace core {

std::u16string decimal(long long value);
std::u16string ascii(std::string_view text);

// Whole decimal number with an optional sign; nullopt for anything else.
std::optional<long long> parseInteger(std::u16string_view text);

bool contains(std::u16string_view text, std::u16string_view part);
bool startsWith(std::u16string_view text, std::u16string_view prefix);

// The text with each line break (CR LF, CR or LF) made a space: for values that must stay on one line.
std::u16string oneLine(std::u16string_view text);
// oneLine, with TAB made a space too: for one field of a TAB-separated line.
std::u16string oneField(std::u16string_view text);

// Replaces every occurrence, left to right in one pass.
std::u16string replaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to);

} // namespace core
