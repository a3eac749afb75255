#include "core/text/EmojiSwap.h"

#include "core/vertical/Simd.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
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

long long bytesOf(std::u16string_view text) {
    return static_cast<long long>(platform::sjisLength(text));
}

// The table as written: one pass per entry, each over the result of the one before.
Swapped passByPass(std::u16string_view text, const std::vector<EmojiEntry>& table, bool toEmoji) {
    Swapped out{std::u16string(text)};
    std::u16string next;
    for (const EmojiEntry& e : table) {
        std::u16string search = toEmoji ? u"\\" + e.keyword : e.emoji;
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

// A keyword and what replacing it with its emoji does.
struct Keyword {
    std::uint32_t length = 0; // units after the backslash
    std::uint32_t tail = 0;   // where its units after the first are kept
    char16_t emoji = 0;
    long long bytes = 0; // change of the Shift_JIS length
};

// The keywords that can win at a backslash, grouped by their first unit, each group in table
// order: at a backslash the first keyword of its group that follows it is the one the passes
// would replace there.
class KeywordIndex {
public:
    explicit KeywordIndex(const std::vector<EmojiEntry>& table) {
        // An empty keyword matches every backslash, so no entry after the first such one can win.
        std::size_t end = table.size();
        for (std::size_t i = 0; i < table.size() && end == table.size(); ++i)
            if (table[i].keyword.empty())
                end = i;
        if (end < table.size()) {
            m_empty = keyword(table[end]);
            m_hasEmpty = true;
        }
        std::size_t slots = 16;
        while (slots < end * 2)
            slots *= 2;
        m_buckets.assign(slots, Bucket{});
        m_mask = slots - 1;
        // Count per unit, then place each group's keywords in table order: no sorting.
        std::vector<std::uint32_t> bucketOf(end);
        for (std::size_t i = 0; i < end; ++i) {
            std::size_t at = bucketFor(table[i].keyword[0]);
            m_buckets[at].first = table[i].keyword[0];
            ++m_buckets[at].end; // a count for now
            bucketOf[i] = static_cast<std::uint32_t>(at);
        }
        std::uint32_t next = 0;
        for (Bucket& bucket : m_buckets) {
            bucket.begin = next;
            next += bucket.end;
            bucket.end = bucket.begin; // filled below
        }
        m_keywords.resize(next);
        for (std::size_t i = 0; i < end; ++i)
            m_keywords[m_buckets[bucketOf[i]].end++] = keyword(table[i]);
    }

    // The keyword replaced at the backslash before text[at], nullptr when none.
    const Keyword* at(std::u16string_view text, std::size_t at) const {
        if (at < text.size()) {
            const Bucket& bucket = m_buckets[bucketFor(text[at])];
            const std::size_t left = text.size() - at;
            for (std::uint32_t i = bucket.begin; i < bucket.end; ++i) {
                const Keyword& k = m_keywords[i];
                if (k.length <= left &&
                    std::memcmp(m_tails.data() + k.tail, text.data() + at + 1, (k.length - 1) * sizeof(char16_t)) == 0)
                    return &k;
            }
        }
        return m_hasEmpty ? &m_empty : nullptr;
    }

private:
    struct Bucket {
        char16_t first = 0;
        std::uint32_t begin = 0, end = 0; // begin == end: empty
    };

    Keyword keyword(const EmojiEntry& e) {
        Keyword k;
        k.length = static_cast<std::uint32_t>(e.keyword.size());
        k.tail = static_cast<std::uint32_t>(m_tails.size());
        if (!e.keyword.empty())
            m_tails.append(e.keyword, 1);
        k.emoji = e.emoji[0];
        k.bytes = bytesOf(e.emoji) - 1 - bytesOf(e.keyword);
        return k;
    }
    // The bucket holding c, or the empty one where it would go.
    std::size_t bucketFor(char16_t c) const {
        std::size_t at = (c * 40503u) & m_mask;
        while (m_buckets[at].end != m_buckets[at].begin && m_buckets[at].first != c)
            at = (at + 1) & m_mask;
        return at;
    }

    std::vector<Bucket> m_buckets;
    std::size_t m_mask = 0;
    std::vector<Keyword> m_keywords; // grouped by bucket
    std::u16string m_tails;          // each keyword without its first unit, back to back
    Keyword m_empty;                 // the first empty keyword
    bool m_hasEmpty = false;
};

} // namespace

struct EmojiSwapper::Index {
    explicit Index(const std::vector<EmojiEntry>& table) {
        // The passes cannot affect one another when no replacement can form or break another
        // entry's search text: then each place is taken by the first entry, in table order,
        // matching there.
        bool single = true, backslash = false;
        for (const EmojiEntry& e : table) {
            single = single && e.emoji.size() == 1;
            if (!single)
                return;
            emoji.add(e.emoji[0]);
            backslash = backslash || e.emoji[0] == u'\\';
        }
        for (const EmojiEntry& e : table)
            for (char16_t c : e.keyword) {
                if (emoji.has(c))
                    return;
                backslash = backslash || c == u'\\';
            }
        emojiInOneScan = true;
        // Each emoji character takes the keyword of its first entry.
        for (std::size_t i = 0; i < table.size(); ++i)
            byEmoji.emplace_back(table[i].emoji[0], static_cast<std::uint32_t>(i));
        std::stable_sort(byEmoji.begin(), byEmoji.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        byEmoji.erase(std::unique(byEmoji.begin(), byEmoji.end(),
                                  [](const auto& a, const auto& b) { return a.first == b.first; }),
                      byEmoji.end());
        if (!backslash) {
            keywordsInOneScan = true;
            keywords.emplace(table);
        }
    }

    bool keywordsInOneScan = false;
    std::optional<KeywordIndex> keywords;
    bool emojiInOneScan = false;
    CharSet emoji;
    std::vector<std::pair<char16_t, std::uint32_t>> byEmoji; // the first entry of each emoji, by emoji
};

EmojiSwapper::EmojiSwapper(std::vector<EmojiEntry> table)
    : m_table(std::move(table)), m_index(std::make_unique<const Index>(m_table)) {}
EmojiSwapper::EmojiSwapper(EmojiSwapper&&) noexcept = default;
EmojiSwapper& EmojiSwapper::operator=(EmojiSwapper&&) noexcept = default;
EmojiSwapper::~EmojiSwapper() = default;

Swapped EmojiSwapper::swap(std::u16string_view text, bool toEmoji) const {
    Swapped out;
    std::size_t pos = 0;
    if (toEmoji) {
        if (!m_index->keywordsInOneScan)
            return passByPass(text, m_table, toEmoji);
        // Every match starts at a backslash of the text as it is, and every replacement is
        // shorter than its search text.
        const KeywordIndex& keywords = *m_index->keywords;
        out.text.reserve(text.size());
        for (std::size_t at = nextBackslash(text, 0); at != std::u16string_view::npos; at = nextBackslash(text, at)) {
            const Keyword* k = keywords.at(text, at + 1);
            if (k == nullptr) {
                ++at;
                continue;
            }
            out.text.append(text.data() + pos, at - pos);
            out.text += k->emoji;
            out.byteDelta += k->bytes;
            ++out.count;
            pos = at + 1 + k->length;
            at = pos;
        }
    } else {
        if (!m_index->emojiInOneScan)
            return passByPass(text, m_table, toEmoji);
        const std::vector<std::pair<char16_t, std::uint32_t>>& byEmoji = m_index->byEmoji;
        out.text.reserve(text.size());
        for (std::size_t at = 0; at < text.size(); ++at) {
            if (!m_index->emoji.has(text[at]))
                continue;
            auto it = std::lower_bound(byEmoji.begin(), byEmoji.end(), text[at],
                                       [](const auto& a, char16_t c) { return a.first < c; });
            const EmojiEntry& e = m_table[it->second];
            out.text.append(text.data() + pos, at - pos);
            out.text += e.keyword;
            out.byteDelta += bytesOf(e.keyword) - bytesOf(e.emoji);
            ++out.count;
            pos = at + 1;
        }
    }
    out.text.append(text.data() + pos, text.size() - pos);
    return out;
}

Swapped swapEmoji(std::u16string_view text, const std::vector<EmojiEntry>& table, bool toEmoji) {
    return EmojiSwapper(table).swap(text, toEmoji);
}

} // namespace core
