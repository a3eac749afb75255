#include "core/text/EmojiSwap.h"

#include "core/vertical/Simd.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <limits>
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

// The next backslash from `from`, npos when none: eight units at a time where the processor allows.
std::size_t nextBackslash(std::u16string_view text, std::size_t from) {
    std::size_t i = from;
#ifdef KOTORI_SSE2
    const __m128i backslash = simd::all(u'\\');
    for (; i + 8 <= text.size(); i += 8) {
        unsigned hit = simd::bits(_mm_cmpeq_epi16(simd::load(text.data() + i), backslash));
        if (hit != 0)
            return i + static_cast<std::size_t>(std::countr_zero(hit)) / 2;
    }
#endif
    for (; i < text.size(); ++i)
        if (text[i] == u'\\')
            return i;
    return std::u16string_view::npos;
}

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

// Entries grouped by the first character of their keyword, found by hashing that character.
class ByFirst {
public:
    explicit ByFirst(const std::vector<EmojiEntry>& table) {
        std::size_t slots = 16;
        while (slots < table.size() * 2)
            slots *= 2;
        m_slots.assign(slots, Slot{});
        m_mask = slots - 1;
        // Count per character, then place each group's entries in table order: no sorting.
        std::vector<std::uint32_t> slotOfEntry(table.size());
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (table[i].keyword.empty())
                continue;
            char16_t c = table[i].keyword[0];
            std::size_t at = slotOf(c);
            m_slots[at].key = c;
            ++m_slots[at].end; // a count for now
            slotOfEntry[i] = static_cast<std::uint32_t>(at);
        }
        std::uint32_t next = 0;
        for (Slot& slot : m_slots) {
            slot.begin = next;
            next += slot.end;
            slot.end = slot.begin; // filled below
        }
        m_entries.resize(next);
        for (std::size_t i = 0; i < table.size(); ++i)
            if (!table[i].keyword.empty())
                m_entries[m_slots[slotOfEntry[i]].end++] = static_cast<std::uint32_t>(i);
    }
    // Table indexes of the entries whose keyword starts with c, ascending.
    template <typename F> void each(char16_t c, F&& f) const {
        const Slot& slot = m_slots[slotOf(c)];
        for (std::uint32_t i = slot.begin; i < slot.end; ++i)
            if (!f(m_entries[i]))
                return;
    }

private:
    struct Slot {
        char16_t key = 0;
        std::uint32_t begin = 0, end = 0; // begin == end: empty
    };
    // The slot holding c, or the empty one where it would go.
    std::size_t slotOf(char16_t c) const {
        std::size_t at = (c * 40503u) & m_mask;
        while (m_slots[at].end != m_slots[at].begin && m_slots[at].key != c)
            at = (at + 1) & m_mask;
        return at;
    }
    std::vector<std::uint32_t> m_entries; // table indexes, grouped by slot
    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
};

// Backslash and keyword to emoji: every match starts at a backslash of the text as it is.
Swapped keywordsInOneScan(std::u16string_view text, const std::vector<EmojiEntry>& table) {
    // An empty keyword matches every backslash, so no entry after the first such one can match.
    std::size_t emptyAt = table.size();
    for (std::size_t i = 0; i < table.size() && emptyAt == table.size(); ++i)
        if (table[i].keyword.empty())
            emptyAt = i;
    const ByFirst byFirst(table);
    // Bytes each entry saves, worked out for the entries that occur.
    constexpr long long Unknown = std::numeric_limits<long long>::min();
    std::vector<long long> delta(table.size(), Unknown);

    // Every replacement is shorter than its search text: the result fits in the text's length.
    Swapped out;
    out.text.resize(text.size());
    char16_t* o = out.text.data();
    auto copy = [&o](std::u16string_view piece) {
        std::copy(piece.begin(), piece.end(), o);
        o += piece.size();
    };
    std::size_t pos = 0;
    for (std::size_t at = nextBackslash(text, 0); at != std::u16string_view::npos; at = nextBackslash(text, at)) {
        std::u16string_view rest = text.substr(at + 1);
        std::size_t hit = emptyAt;
        if (!rest.empty())
            byFirst.each(rest[0], [&](std::size_t i) {
                if (i >= hit)
                    return false;
                if (rest.starts_with(table[i].keyword)) {
                    hit = i;
                    return false;
                }
                return true;
            });
        if (hit == table.size()) {
            ++at;
            continue;
        }
        copy(text.substr(pos, at - pos));
        *o++ = table[hit].emoji[0];
        if (delta[hit] == Unknown)
            delta[hit] = bytesOf(table[hit].emoji) - 1 - bytesOf(table[hit].keyword);
        out.byteDelta += delta[hit];
        ++out.count;
        pos = at + 1 + table[hit].keyword.size();
        at = pos;
    }
    copy(text.substr(pos));
    out.text.resize(static_cast<std::size_t>(o - out.text.data()));
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
