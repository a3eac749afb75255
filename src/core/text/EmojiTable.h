#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Emoji.code: one emoji character, one separator character and the keyword on each line.
namespace core {

struct EmojiEntry {
    std::u16string emoji;   // one character
    std::u16string keyword; // may be empty
};

// The entries of the lines in order; a line too short to hold an emoji and its separator is
// not an entry and is skipped.
std::vector<EmojiEntry> parseEmojiTable(const std::vector<std::u16string>& lines);

// The entries of the file's bytes.
std::vector<EmojiEntry> parseEmojiFile(std::string_view bytes);

// nullopt when the file is missing or cannot be read.
std::optional<std::vector<EmojiEntry>> readEmojiTable(std::u16string_view path);

// The quick-menu caption: the emoji, "   =   " and the keyword.
std::u16string emojiMenuCaption(const EmojiEntry& entry);

} // namespace core
