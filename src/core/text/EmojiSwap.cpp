#include "core/text/EmojiSwap.h"

#include "platform/Cp932.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace core {

namespace {

class CharSet {
public:
    void add(char16_t c) { m_bits[c >> 6] |= std::uint64_t{1} << (c & 63); }
    bool has(char16_t c) const { return (m_bits[c >> 6] >> (c & 63)) & 1; }

private:
    std::array<std::uint64_t, 1024> m_bits{};
};

std::u16string searchText(const EmojiEntry& e, bool toEmoji) {
    return toEmoji ? u"\\" + e.keyword : e.emoji;
}

long long bytesOf(std::u16string_view text) {
    return static_cast<long long>(platform::sjisLength(text));
}

// The table as written: one pass per entry, each over the result of the one before.
Swapped passByPass(std::u16string_view text, const std::vector<EmojiEntry>& table, bool toEmoji) {
    Swapped out{std::u16string(text)};
    std::u16string next;
    for (const EmojiEntry& e : table) {
        std::u16string search = searchText(e, toEmoji);
        const std::u16string& with = toEmoji ? e.emoji : e.keyword;
        if (search.empty())
            continue;
        std::size_t found = out.text.find(search);
        if (found == std::u16string::npos)
            continue;
        next.clear();
        std::size_t pos = 0;
        while (found != std::u16string::npos) {
            next.append(out.text, pos, found - pos);
            next += with;
            pos = found + search.size();
            ++out.count;
            found = out.text.find(search, pos);
        }
        next.append(out.text, pos);
        out.text.swap(next);
    }
    out.byteDelta = bytesOf(out.text) - bytesOf(text);
    return out;
}

// The passes cannot affect one another when no replacement can form or break another entry's
// search text: then each place is taken by the first entry, in table order, matching there.
bool independent(const std::vector<EmojiEntry>& table, bool toEmoji, CharSet& emoji) {
    for (const EmojiEntry& e : table) {
        if (e.emoji.size() != 1 || (toEmoji && e.emoji[0] == u'\\'))
            return false;
        emoji.add(e.emoji[0]);
    }
    for (const EmojiEntry& e : table)
        for (char16_t c : e.keyword)
            if (emoji.has(c) || (toEmoji && c == u'\\'))
                return false;
    return true;
}

// Backslash and keyword to emoji: every match starts at a backslash of the text as it is.
Swapped keywordsInOneScan(std::u16string_view text, const std::vector<EmojiEntry>& table) {
    // Entries by the keyword's first character, in table order; an empty keyword matches
    // every backslash, so no entry after the first such one can ever match.
    std::size_t emptyAt = table.size();
    std::vector<std::pair<char16_t, std::size_t>> byFirst;
    CharSet firsts;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].keyword.empty()) {
            emptyAt = std::min(emptyAt, i);
            continue;
        }
        byFirst.emplace_back(table[i].keyword[0], i);
        firsts.add(table[i].keyword[0]);
    }
    std::sort(byFirst.begin(), byFirst.end());
    std::vector<long long> delta(table.size());
    for (std::size_t i = 0; i < table.size(); ++i)
        delta[i] = bytesOf(table[i].emoji) - 1 - bytesOf(table[i].keyword);

    Swapped out;
    out.text.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t at = text.find(u'\\'); at != std::u16string_view::npos; at = text.find(u'\\', at)) {
        std::u16string_view rest = text.substr(at + 1);
        std::size_t hit = emptyAt;
        if (!rest.empty() && firsts.has(rest[0])) {
            auto range = std::equal_range(byFirst.begin(), byFirst.end(), std::pair{rest[0], std::size_t{0}},
                                          [](const auto& a, const auto& b) { return a.first < b.first; });
            for (auto it = range.first; it != range.second && it->second < hit; ++it)
                if (rest.starts_with(table[it->second].keyword))
                    hit = it->second;
        }
        if (hit == table.size()) {
            ++at;
            continue;
        }
        out.text.append(text.substr(pos, at - pos));
        out.text += table[hit].emoji;
        out.byteDelta += delta[hit];
        ++out.count;
        pos = at + 1 + table[hit].keyword.size();
        at = pos;
    }
    out.text.append(text.substr(pos));
    return out;
}

// Emoji to keyword: each emoji character takes the keyword of its first entry.
Swapped emojiInOneScan(std::u16string_view text, const std::vector<EmojiEntry>& table, const CharSet& emoji) {
    std::vector<std::pair<char16_t, std::size_t>> byEmoji;
    for (std::size_t i = 0; i < table.size(); ++i)
        byEmoji.emplace_back(table[i].emoji[0], i);
    std::stable_sort(byEmoji.begin(), byEmoji.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    Swapped out;
    out.text.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!emoji.has(text[at]))
            continue;
        auto it = std::lower_bound(byEmoji.begin(), byEmoji.end(), text[at],
                                   [](const auto& a, char16_t c) { return a.first < c; });
        const EmojiEntry& e = table[it->second];
        out.text.append(text.substr(pos, at - pos));
        out.text += e.keyword;
        out.byteDelta += bytesOf(e.keyword) - bytesOf(e.emoji);
        ++out.count;
        pos = at + 1;
    }
    out.text.append(text.substr(pos));
    return out;
}

} // namespace

Swapped swapEmoji(std::u16string_view text, const std::vector<EmojiEntry>& table, bool toEmoji) {
    CharSet emoji;
    if (!independent(table, toEmoji, emoji))
        return passByPass(text, table, toEmoji);
    return toEmoji ? keywordsInOneScan(text, table) : emojiInOneScan(text, table, emoji);
}

} // namespace core
