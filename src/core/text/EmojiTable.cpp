#include "core/text/EmojiTable.h"

#include "platform/Files.h"

namespace core {

std::vector<EmojiEntry> parseEmojiTable(const std::vector<std::u16string>& lines) {
    std::vector<EmojiEntry> entries;
    entries.reserve(lines.size());
    for (const std::u16string& line : lines) {
        if (line.size() < 2)
            continue;
        entries.push_back({line.substr(0, 1), line.substr(2)});
    }
    return entries;
}

std::optional<std::vector<EmojiEntry>> readEmojiTable(std::u16string_view path) {
    auto lines = platform::readLines(path);
    if (!lines)
        return std::nullopt;
    return parseEmojiTable(*lines);
}

std::u16string emojiMenuCaption(const EmojiEntry& entry) {
    return entry.emoji + u"   =   " + entry.keyword;
}

} // namespace core
