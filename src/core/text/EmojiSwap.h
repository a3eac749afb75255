#pragma once

#include "core/text/EmojiTable.h"

#include <string>
#include <string_view>
#include <vector>

// Turning escaped keywords into emoji and emoji back into keywords.
namespace core {

struct Swapped {
    std::u16string text;
    long long byteDelta = 0; // change of the Shift_JIS length
    std::size_t count = 0;   // replacements made
};

// For each entry in table order, one left-to-right pass replacing every occurrence of the
// search text: a backslash and the keyword when toEmoji (by the emoji), else the emoji (by the
// keyword). Passes that cannot affect one another run as a single scan of the text.
Swapped swapEmoji(std::u16string_view text, const std::vector<EmojiEntry>& table, bool toEmoji);

} // namespace core
