#pragma once

#include <optional>
#include <string>
#include <string_view>

// The line format of Kotori.ini: a four-character key, one separator character and the value.
namespace core::settings {

struct Line {
    std::u16string_view key;
    std::u16string_view value;
};

// nullopt for a line too short to hold a key and its separator.
std::optional<Line> splitLine(std::u16string_view line);

std::u16string formatLine(std::u16string_view key, std::u16string_view value);
std::u16string formatReal(float value); // shortest text that reads back as the same float
std::u16string formatBool(bool value);  // "True" / "False"

std::optional<float> parseReal(std::u16string_view text);
// "True", "False" (any case) or a number, where 0 is false.
std::optional<bool> parseBool(std::u16string_view text);
// A check box value: 0 or 1.
std::optional<bool> parseCheck(std::u16string_view text);

} // namespace core::settings
