#pragma once

#include "core/text/EmojiTable.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Turning escaped keywords into emoji and emoji back into keywords.
namespace core {

struct Swapped {
    std::u16string text;
    long long byteDelta = 0; // change of the Shift_JIS length
    std::size_t count = 0;   // replacements made
    bool keepsForms = false; // what it puts in all has a form in the code page
};

// A table made ready for swapping. For each entry in table order, one left-to-right pass
// replacing every occurrence of the search text: a backslash and the keyword when toEmoji (by
// the emoji), else the emoji (by the keyword). Passes that cannot affect one another run as a
// single scan of the text. Building it is a good part of a command's time: keep it while the
// table stays the same.
class EmojiSwapper {
public:
    explicit EmojiSwapper(std::vector<EmojiEntry> table);
    EmojiSwapper(EmojiSwapper&&) noexcept;
    EmojiSwapper& operator=(EmojiSwapper&&) noexcept;
    ~EmojiSwapper();

    const std::vector<EmojiEntry>& table() const { return m_table; }
    // The result is written in `storage` when given (its old text need not be cleared).
    Swapped swap(std::u16string_view text, bool toEmoji, std::u16string storage = {}) const;

private:
    struct Index;
    std::vector<EmojiEntry> m_table;
    std::unique_ptr<const Index> m_index;
    // Whether every emoji, and every keyword, has a form in the code page: a table read from its
    // file always has.
    bool m_emojiFormed = true, m_keywordsFormed = true;
};

// One swap with a table used once.
Swapped swapEmoji(std::u16string_view text, const std::vector<EmojiEntry>& table, bool toEmoji);

} // namespace core
