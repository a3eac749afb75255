#include "core/text/EmojiTable.h"

#include "platform/Cp932.h"
#include "platform/Files.h"

#include <algorithm>

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

std::vector<EmojiEntry> parseEmojiFile(std::string_view bytes) {
    // Split the decoded text in place rather than through a string per line. A line break
    // never ends a CP932 pair, so decoding first is safe.
    const std::u16string text = platform::decodeCp932(bytes);
    std::vector<EmojiEntry> entries;
    entries.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\n')) + 1);
    const std::u16string_view all = text;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= all.size(); ++i) {
        if (i < all.size() && all[i] != u'\r' && all[i] != u'\n')
            continue;
        if (i - start >= 2)
            entries.push_back(
                {std::u16string(all.substr(start, 1)), std::u16string(all.substr(start + 2, i - start - 2))});
        if (i + 1 < all.size() && all[i] == u'\r' && all[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    return entries;
}

std::optional<std::vector<EmojiEntry>> readEmojiTable(std::u16string_view path) {
    auto bytes = platform::readBytes(path);
    if (!bytes)
        return std::nullopt;
    return parseEmojiFile(*bytes);
}

std::u16string emojiMenuCaption(const EmojiEntry& entry) {
    return entry.emoji + u"   =   " + entry.keyword;
}

} // namespace core
