#include "core/text/EmojiSwap.h"

#include "core/vertical/Simd.h"
#include "platform/Cp932.h"
#include "platform/StringStorage.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

#ifdef KOTORI_SSE2
#include <immintrin.h>
#endif

namespace core {

namespace {

class CharSet {
public:
    void add(char16_t c) { m_bits[c >> 6] |= std::uint64_t{1} << (c & 63); }
    bool has(char16_t c) const { return (m_bits[c >> 6] >> (c & 63)) & 1; }

private:
    std::array<std::uint64_t, 1024> m_bits{};
};

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
    std::uint32_t units = 0;  // where they are kept
    char16_t head[8] = {};    // the first eight, for comparing at once
    unsigned headBits = 0;    // the bits of a comparison of head that must be set
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
        for (char16_t c = 0; c < m_ascii.size(); ++c)
            m_ascii[c] = static_cast<std::uint32_t>(bucketFor(c));
    }

    // The keyword replaced at a backslash followed by `left` units of text, nullptr when none.
    const Keyword* after(const char16_t* text, std::size_t left) const {
        if (left > 0) {
            const Bucket& bucket = m_buckets[text[0] < m_ascii.size() ? m_ascii[text[0]] : bucketFor(text[0])];
            for (std::uint32_t i = bucket.begin; i < bucket.end; ++i)
                if (begins(text, left, m_keywords[i]))
                    return &m_keywords[i];
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
        k.units = static_cast<std::uint32_t>(m_units.size());
        m_units += e.keyword;
        std::size_t inHead = std::min<std::size_t>(e.keyword.size(), 8);
        std::copy_n(e.keyword.begin(), inHead, k.head);
        k.headBits = (1u << (2 * inHead)) - 1; // two bits a unit
        k.emoji = e.emoji[0];
        k.bytes = bytesOf(e.emoji) - 1 - bytesOf(e.keyword);
        return k;
    }
    bool begins(const char16_t* text, std::size_t left, const Keyword& k) const {
        if (k.length > left)
            return false;
        const char16_t* units = m_units.data() + k.units;
#ifdef KOTORI_SSE2
        if (left >= 8) {
            unsigned same = simd::bits(_mm_cmpeq_epi16(simd::load(text), simd::load(k.head)));
            if ((same & k.headBits) != k.headBits)
                return false;
            return k.length <= 8 || std::equal(units + 8, units + k.length, text + 8);
        }
#endif
        return std::equal(units, units + k.length, text);
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
    std::array<std::uint32_t, 128> m_ascii; // the bucket of each ASCII unit: most keywords start with one
    std::vector<Keyword> m_keywords;        // grouped by bucket
    std::u16string m_units;                 // the keywords back to back
    Keyword m_empty;                        // the first empty keyword
    bool m_hasEmpty = false;
};

// Emoji to keywords: each emoji character takes the keyword of its first entry.
class EmojiIndex {
public:
    EmojiIndex(const std::vector<EmojiEntry>& table, const CharSet& emoji) : m_emoji(emoji) {
        for (std::size_t i = 0; i < table.size(); ++i)
            m_first.emplace_back(table[i].emoji[0], static_cast<std::uint32_t>(i));
        std::stable_sort(m_first.begin(), m_first.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        m_first.erase(std::unique(m_first.begin(), m_first.end(),
                                  [](const auto& a, const auto& b) { return a.first == b.first; }),
                      m_first.end());
    }
    // The table index of the first entry with emoji c, npos when none.
    std::size_t entry(char16_t c) const {
        if (!m_emoji.has(c))
            return npos;
        auto it = std::lower_bound(m_first.begin(), m_first.end(), c,
                                   [](const auto& a, char16_t unit) { return a.first < unit; });
        return it->second;
    }
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    CharSet m_emoji;
    std::vector<std::pair<char16_t, std::uint32_t>> m_first; // by emoji
};

// blocks(in, size, atBackslash) calls atBackslash for each backslash in the whole blocks it
// looks at, in order, and returns where it stopped.
template <typename Blocks>
[[gnu::always_inline]] inline Swapped keywordsWith(std::u16string_view text, const KeywordIndex& keywords,
                                                   std::u16string storage, Blocks blocks) {
    // Every match starts at a backslash of the text as it is, and no keyword holds one, so each
    // backslash is looked at in turn. Every replacement is shorter than its search text, so the
    // result fits in the text's length.
    Swapped out{std::move(storage)};
    platform::sizeForOverwrite(out.text, text.size());
    char16_t* o = out.text.data();
    const char16_t* in = text.data();
    char16_t* const end = o + text.size();
    std::size_t pos = 0;
    auto atBackslash = [&](std::size_t at) {
        const Keyword* k = keywords.after(in + at + 1, text.size() - at - 1);
        if (k == nullptr)
            return;
        // Most gaps between keywords are short: one 32-unit block, the units past the gap written
        // over next, costs less than a call to copy them.
        if (at - pos <= 32 && end - o >= 32 && text.size() - pos >= 32) {
            std::memcpy(o, in + pos, 32 * sizeof(char16_t));
            o += at - pos;
        } else {
            o = std::copy(in + pos, in + at, o);
        }
        *o++ = k->emoji;
        out.byteDelta += k->bytes;
        ++out.count;
        pos = at + 1 + k->length;
    };
    std::size_t i = blocks(in, text.size(), atBackslash);
    for (; i < text.size(); ++i)
        if (in[i] == u'\\')
            atBackslash(i);
    o = std::copy(in + pos, in + text.size(), o);
    out.text.resize(static_cast<std::size_t>(o - out.text.data()));
    return out;
}

#ifdef KOTORI_SSE2
// keywordsInOneScan looking at sixteen units a step, a bit each in a mask register.
__attribute__((target("avx512f,avx512bw,avx512vl"))) Swapped
keywordsMasked(std::u16string_view text, const KeywordIndex& keywords, std::u16string storage) {
    return keywordsWith(
        text, keywords, std::move(storage),
        [](const char16_t* in, std::size_t size, auto& atBackslash)
            __attribute__((target("avx512f,avx512bw,avx512vl"))) {
                const __m256i backslash = _mm256_set1_epi16(u'\\');
                std::size_t i = 0;
                for (; i + 16 <= size; i += 16)
                    for (unsigned found = _mm256_cmpeq_epi16_mask(
                             _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i)), backslash);
                         found != 0; found &= found - 1)
                        atBackslash(i + static_cast<std::size_t>(std::countr_zero(found)));
                return i;
            });
}

// keywordsInOneScan looking at 32 units a step: a mail has a backslash every few dozen units,
// so most steps find one, and the test for none is rarely missed.
__attribute__((target("avx2"))) Swapped keywordsWide(std::u16string_view text, const KeywordIndex& keywords,
                                                     std::u16string storage) {
    return keywordsWith(
        text, keywords, std::move(storage),
        [](const char16_t* in, std::size_t size, auto& atBackslash) __attribute__((target("avx2"))) {
            std::size_t i = 0;
            for (; i + 32 <= size; i += 32) {
                const auto* at = reinterpret_cast<const __m256i*>(in + i);
                // A byte a unit, the halves' quarters put back in order: a bit a unit.
                auto found = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_permute4x64_epi64(
                    _mm256_packs_epi16(_mm256_cmpeq_epi16(_mm256_loadu_si256(at), _mm256_set1_epi16(u'\\')),
                                       _mm256_cmpeq_epi16(_mm256_loadu_si256(at + 1), _mm256_set1_epi16(u'\\'))),
                    0xD8)));
                for (; found != 0; found &= found - 1)
                    atBackslash(i + static_cast<std::size_t>(std::countr_zero(found)));
            }
            return i;
        });
}

bool wideScan() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has && platform::vectorsAtLeast(platform::VectorLevel::Avx2);
}
#endif

Swapped keywordsInOneScan(std::u16string_view text, const KeywordIndex& keywords, std::u16string storage) {
#ifdef KOTORI_SSE2
    if (simd::masked())
        return keywordsMasked(text, keywords, std::move(storage));
    if (wideScan())
        return keywordsWide(text, keywords, std::move(storage));
#endif
    return keywordsWith(
        text, keywords, std::move(storage), [](const char16_t* in, std::size_t size, auto& atBackslash) {
            std::size_t i = 0;
#ifdef KOTORI_SSE2
            const __m128i backslash = simd::all(u'\\');
            for (const std::size_t stop = simd::enabled() ? size : 0; i + 8 <= stop; i += 8) {
                unsigned found = simd::bits(_mm_cmpeq_epi16(simd::load(in + i), backslash)) & 0x5555u; // a bit a unit
                for (; found != 0; found &= found - 1)
                    atBackslash(i + static_cast<std::size_t>(std::countr_zero(found)) / 2);
            }
#endif
            return i;
        });
}

Swapped emojiInOneScan(std::u16string_view text, const std::vector<EmojiEntry>& table, const EmojiIndex& emoji) {
    Swapped out;
    out.text.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        std::size_t i = emoji.entry(text[at]);
        if (i == EmojiIndex::npos)
            continue;
        const EmojiEntry& e = table[i];
        out.text.append(text.data() + pos, at - pos);
        out.text += e.keyword;
        out.byteDelta += bytesOf(e.keyword) - bytesOf(e.emoji);
        ++out.count;
        pos = at + 1;
    }
    out.text.append(text.data() + pos, text.size() - pos);
    return out;
}

} // namespace

// Each direction's index exists only when its passes cannot affect one another: no replacement
// can form or break another entry's search text. Then each place is taken by the first entry,
// in table order, matching there, and one scan does all the passes.
struct EmojiSwapper::Index {
    explicit Index(const std::vector<EmojiEntry>& table) {
        CharSet emoji;
        bool backslash = false;
        for (const EmojiEntry& e : table) {
            if (e.emoji.size() != 1)
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
        emojiToKeywords.emplace(table, emoji);
        if (!backslash)
            keywordsToEmoji.emplace(table);
    }

    std::optional<KeywordIndex> keywordsToEmoji;
    std::optional<EmojiIndex> emojiToKeywords;
};

EmojiSwapper::EmojiSwapper(std::vector<EmojiEntry> table)
    : m_table(std::move(table)), m_index(std::make_unique<const Index>(m_table)) {
    for (const EmojiEntry& e : m_table) {
        m_emojiFormed = m_emojiFormed && platform::firstWithoutCp932Form(e.emoji) == std::u16string_view::npos;
        m_keywordsFormed = m_keywordsFormed && platform::firstWithoutCp932Form(e.keyword) == std::u16string_view::npos;
    }
}
EmojiSwapper::EmojiSwapper(EmojiSwapper&&) noexcept = default;
EmojiSwapper& EmojiSwapper::operator=(EmojiSwapper&&) noexcept = default;
EmojiSwapper::~EmojiSwapper() = default;

Swapped EmojiSwapper::swap(std::u16string_view text, bool toEmoji, std::u16string storage) const {
    Swapped out;
    if (toEmoji && m_index->keywordsToEmoji)
        out = keywordsInOneScan(text, *m_index->keywordsToEmoji, std::move(storage));
    else if (!toEmoji && m_index->emojiToKeywords)
        out = emojiInOneScan(text, m_table, *m_index->emojiToKeywords);
    else
        out = passByPass(text, m_table, toEmoji);
    out.keepsForms = toEmoji ? m_emojiFormed : m_keywordsFormed;
    return out;
}

Swapped swapEmoji(std::u16string_view text, const std::vector<EmojiEntry>& table, bool toEmoji) {
    return EmojiSwapper(table).swap(text, toEmoji);
}

} // namespace core
