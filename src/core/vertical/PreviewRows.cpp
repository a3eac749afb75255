#include "core/vertical/PreviewRows.h"

#include "core/vertical/Simd.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KOTORI_ROWS_AVX2 1
#include "platform/Vectors.h"

#include <immintrin.h>
#endif

namespace core {

namespace {

// Per UTF-16 unit: its positions in a row (1 or 2, its length in code page 932), or 0 for the
// units the walk looks at closer: CR, LF and a high surrogate.
const unsigned char* unitKinds() {
    static const std::array<unsigned char, 0x10000> kinds = [] {
        std::array<unsigned char, 0x10000> table{};
        const unsigned char* lengths = platform::unitLengths();
        for (std::size_t u = 0; u < table.size(); ++u)
            table[u] = lengths[u];
        table[u'\r'] = table[u'\n'] = 0;
        for (std::size_t u = 0xD800; u < 0xDC00; ++u)
            table[u] = 0;
        return table;
    }();
    return kinds.data();
}

#ifdef KOTORI_ROWS_AVX2
// Sums the positions of the sixteen units from `from` into sums, as the plain loop does; stops
// before a CR, LF or high surrogate and returns where, else from + 16.
inline std::size_t sumByTable(const char16_t* at, std::size_t from, const unsigned char* kinds, std::uint16_t* sums,
                              std::uint32_t& sum) {
    for (std::size_t j = from; j < from + 16; ++j) {
        const unsigned kind = kinds[at[j]];
        if (kind == 0)
            return j;
        sums[j] = static_cast<std::uint16_t>(sum += kind);
    }
    return from + 16;
}

// Lanes from first to last, unsigned.
__attribute__((target("avx2"))) inline __m256i inRange(__m256i units, char16_t first, char16_t last) {
    const __m256i offset = _mm256_sub_epi16(units, _mm256_set1_epi16(static_cast<short>(first)));
    return _mm256_cmpeq_epi16(_mm256_min_epu16(offset, _mm256_set1_epi16(static_cast<short>(last - first))), offset);
}

// Sums the positions of the units at `at` into sums, as the plain loop does, sixteen at a time
// where every unit is one the table need not be asked about: ASCII from 0x0E (no CR or LF) takes
// one position, kana and the emoji area two. Stops before a CR, LF or high surrogate, or before
// the last sixteen; returns how many units it summed.
__attribute__((target("avx2,popcnt"))) std::size_t sumSixteens(const char16_t* at, std::size_t limit,
                                                               const unsigned char* kinds, std::uint16_t* sums,
                                                               std::uint32_t& sum) {
    std::size_t count = 0;
    for (; count + 16 <= limit; count += 16) {
        const __m256i units = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + count));
        const __m256i one = inRange(units, 0x0E, 0x7F);
        const __m256i two =
            _mm256_or_si256(_mm256_or_si256(inRange(units, 0x3041, 0x3093), inRange(units, 0x30A1, 0x30F6)),
                            inRange(units, 0xE000, 0xE757));
        if (static_cast<unsigned>(_mm256_movemask_epi8(_mm256_or_si256(one, two))) != 0xFFFFFFFFu) {
            if (const std::size_t stop = sumByTable(at, count, kinds, sums, sum); stop < count + 16)
                return stop;
            continue;
        }
        // 1 or 2 a lane, then summed along each half, then the low half's total added to the high.
        __m256i x = _mm256_sub_epi16(_mm256_set1_epi16(1), two);
        x = _mm256_add_epi16(x, _mm256_slli_si256(x, 2));
        x = _mm256_add_epi16(x, _mm256_slli_si256(x, 4));
        x = _mm256_add_epi16(x, _mm256_slli_si256(x, 8));
        __m256i last = _mm256_shufflehi_epi16(x, 0xFF);
        last = _mm256_unpackhi_epi64(last, last);
        x = _mm256_add_epi16(x, _mm256_permute2x128_si256(last, last, 0x08));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + count),
                            _mm256_add_epi16(_mm256_set1_epi16(static_cast<short>(sum)), x));
        // The block's total from its mask, off the shuffle port the sums keep busy.
        sum += 16 + static_cast<std::uint32_t>(std::popcount(static_cast<unsigned>(_mm256_movemask_epi8(two)))) / 2;
    }
    return count;
}

// sumSixteens where the processor counts bits in each lane: a lane's sum is its index plus one
// plus the two-position units up to it, counted in the block's mask shifted to end at the lane.
__attribute__((target("avx512f,avx512bw,avx512vl,avx512bitalg,popcnt"))) std::size_t
sumSixteensCounted(const char16_t* at, std::size_t limit, const unsigned char* kinds, std::uint16_t* sums,
                   std::uint32_t& sum) {
    const auto in =
        [](__m256i units, char16_t first, char16_t last) __attribute__((target("avx512f,avx512bw,avx512vl"))) {
        return _mm256_cmple_epu16_mask(_mm256_sub_epi16(units, _mm256_set1_epi16(static_cast<short>(first))),
                                       _mm256_set1_epi16(static_cast<short>(last - first)));
    };
    const __m256i toTop = _mm256_setr_epi16(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    const __m256i steps = _mm256_setr_epi16(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    std::size_t count = 0;
    for (; count + 16 <= limit; count += 16) {
        const __m256i units = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + count));
        const __mmask16 two = in(units, 0x3041, 0x3093) | in(units, 0x30A1, 0x30F6) | in(units, 0xE000, 0xE757);
        if ((two | in(units, 0x0E, 0x7F)) != 0xFFFF) {
            if (const std::size_t stop = sumByTable(at, count, kinds, sums, sum); stop < count + 16)
                return stop;
            continue;
        }
        const __m256i upTo = _mm256_sllv_epi16(_mm256_set1_epi16(static_cast<short>(two)), toTop);
        const __m256i x = _mm256_add_epi16(_mm256_popcnt_epi16(upTo),
                                           _mm256_add_epi16(steps, _mm256_set1_epi16(static_cast<short>(sum))));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + count), x);
        sum += 16 + static_cast<std::uint32_t>(std::popcount(static_cast<unsigned>(two)));
    }
    return count;
}

bool countsLaneBits() {
    static const bool yes = __builtin_cpu_supports("avx512bitalg");
    return yes && simd::masked();
}
#endif

// Room enough for text of `units` units laid out in rows of `width` positions: a row (but the
// last of a line) holds at least (width - 1) / 2 units.
std::size_t roomFor(std::size_t units, int width) {
    const std::size_t perRow =
        width < 2 ? units + 1 : std::max<std::size_t>(1, static_cast<std::size_t>(width - 1) / 2);
    // Short rows are copied sixteen units at once: up to fifteen past the row are written too.
    return units + 2 * (units / perRow) + 2 + 16;
}

// Copies [from, from + length) to w, whole sixteen-unit blocks when the source has them before
// `end` (the extra units written are written over next); returns the end of the copy.
inline char16_t* copyRow(char16_t* w, const char16_t* from, std::size_t length, const char16_t* end) {
    if (length <= 16 && end - from >= 16) {
        std::memcpy(w, from, 16 * sizeof(char16_t));
        return w + length;
    }
    return std::copy(from, from + length, w);
}

// Lays out text from i in rows of `width` positions, writing it at w with CR LF at each row
// end: a surrogate pair takes two positions (one for each half's '?' substitute), any other
// unit its length in code page 932, and a two-position character that does not fit starts the
// next row. rowEnd(at) is asked at each row end, `at` being the index of the character it
// comes before. Stops where rowEnd returns false (before writing that row end), at a line feed
// at or after stopAtLineFrom, or at the end; returns where it stopped. Every command that edits
// the body lays the preview out again; kept out of line so that its loops keep their state in
// registers.
template <typename RowEnd>
[[gnu::noinline]] std::size_t layRows(std::u16string_view text, std::size_t i, int width, std::size_t stopAtLineFrom,
                                      char16_t*& written, RowEnd rowEnd) {
    const char16_t* const p = text.data();
    const std::size_t n = text.size();
    if (width < 2) { // a screen without columns (no model chosen) has no rows to end
        std::size_t stop = stopAtLineFrom < n ? text.find(u'\n', std::max(i, stopAtLineFrom)) : n;
        if (stop == std::u16string_view::npos)
            stop = n;
        written = std::copy(p + i, p + stop, written);
        return stop;
    }
    // Locals, so the loop keeps them in registers.
    char16_t* w = written;
    const auto done = [&](std::size_t at) {
        written = w;
        return at;
    };
    const unsigned char* const kinds = unitKinds();
    // Plain units (no CR, LF or high surrogate) go a span at a time: the positions they reach
    // are summed first, and each row end is then found among the sums, a row at a time.
    constexpr std::size_t Span = 256;
    std::uint16_t sums[Span]; // sums[j]: positions the span's units up to j take (at most 512)
    int position = 0;         // where the next unit starts in its row
    const bool evenWidth = width % 2 == 0;
    const auto perRow = static_cast<std::size_t>(width) / 2;
#ifdef KOTORI_ROWS_AVX2
    const bool wide = platform::vectorsAtLeast(platform::VectorLevel::Avx2); // the processor has AVX2 then
    const bool counted = countsLaneBits();
#endif
    while (i < n) {
        const std::size_t limit = std::min(Span, n - i);
        std::size_t count = 0;
        std::uint32_t sum = 0;
#ifdef KOTORI_ROWS_AVX2
        if (counted)
            count = sumSixteensCounted(p + i, limit, kinds, sums, sum);
        else if (wide)
            count = sumSixteens(p + i, limit, kinds, sums, sum);
#endif
        // Four units a step, one test for all four: most spans hold no CR, LF or surrogate.
        for (const char16_t* at = p + i; count + 4 <= limit; count += 4) {
            const unsigned k0 = kinds[at[count]], k1 = kinds[at[count + 1]], k2 = kinds[at[count + 2]],
                           k3 = kinds[at[count + 3]];
            if ((k0 == 0) | (k1 == 0) | (k2 == 0) | (k3 == 0))
                break;
            sums[count] = static_cast<std::uint16_t>(sum += k0);
            sums[count + 1] = static_cast<std::uint16_t>(sum += k1);
            sums[count + 2] = static_cast<std::uint16_t>(sum += k2);
            sums[count + 3] = static_cast<std::uint16_t>(sum += k3);
        }
        for (; count < limit; ++count) {
            const unsigned kind = kinds[p[i + count]];
            if (kind == 0)
                break;
            sums[count] = static_cast<std::uint16_t>(sum += kind);
        }
        const char16_t* const span = p + i;
        std::size_t s = 0;      // the first unit of the span not written yet
        std::uint32_t base = 0; // the sum before s
        // On an even screen a row of two-position units only is full after width / 2 of them:
        // in a span of nothing else (most of a Japanese mail) whole rows need no search.
        const bool twoOnly = evenWidth && count > 0 && sums[count - 1] == 2 * count;
        while (s < count) {
            if (twoOnly && position == 0) {
                for (; s + perRow <= count; s += perRow) {
                    w = copyRow(w, span + s, perRow, p + n);
                    if (!rowEnd(i + s + perRow))
                        return done(i + s + perRow);
                    *w++ = u'\r';
                    *w++ = u'\n';
                }
                base = static_cast<std::uint32_t>(2 * s);
                if (s == count)
                    break;
            }
            // The first unit that fills the row or does not fit: units take at most two
            // positions, so none before j can.
            const std::uint32_t room = static_cast<std::uint32_t>(width - position);
            const std::uint32_t full = base + room;
            std::size_t j = s + (room + 1) / 2 - 1;
            while (j < count && sums[j] < full)
                ++j;
            if (j >= count) { // the span ends inside the row
                for (; s < count; ++s)
                    *w++ = span[s];
                position += static_cast<int>(sums[count - 1] - base);
                break;
            }
            // Full after j, or j is a two-position unit that does not fit and starts the next row.
            const std::size_t end = sums[j] == full ? j + 1 : j;
            w = copyRow(w, span + s, end - s, p + n);
            s = end;
            if (!rowEnd(i + end))
                return done(i + end);
            *w++ = u'\r';
            *w++ = u'\n';
            position = 0;
            base = end == 0 ? 0 : sums[end - 1];
        }
        i += count;
        if (count == limit)
            continue; // the span was full: the next one goes on from here
        // A CR, an LF or a high surrogate, one at a time.
        const char16_t c = p[i];
        if (c == u'\n') {
            if (i >= stopAtLineFrom)
                return done(i);
            position = 0;
            *w++ = c;
            ++i;
            continue;
        }
        if (c == u'\r') {
            *w++ = c;
            ++i;
            continue;
        }
        const bool pair = i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] < 0xE000;
        const int size = pair ? 2 : platform::unitLengths()[c];
        position += size;
        if (position == width + 1) {
            if (!rowEnd(i))
                return done(i);
            *w++ = u'\r';
            *w++ = u'\n';
            position = size;
        }
        *w++ = c;
        if (pair)
            *w++ = p[i + 1];
        i += pair ? 2 : 1;
        if (position == width) {
            if (!rowEnd(i))
                return done(i);
            *w++ = u'\r';
            *w++ = u'\n';
            position = 0;
        }
    }
    return done(n);
}

} // namespace

void appendRows(std::u16string& out, std::u16string_view text, int width, std::size_t offset,
                std::vector<std::size_t>* breaks) {
    const std::size_t start = out.size();
    out.resize(start + roomFor(text.size(), width));
    char16_t* w = out.data() + start;
    layRows(text, 0, width, std::u16string_view::npos, w, [&](std::size_t at) {
        if (breaks)
            breaks->push_back(offset + at);
        return true;
    });
    out.resize(static_cast<std::size_t>(w - out.data()));
}

std::u16string PreviewRows::build(std::u16string_view body, int width) {
    m_width = width;
    m_breaks.clear();
    std::u16string rows;
    rows.reserve(body.size() + body.size() / 4);
    appendRows(rows, body, width, 0, &m_breaks);
    return rows;
}

PreviewRows::Change PreviewRows::update(std::u16string_view body, std::size_t pos, std::size_t removed,
                                        std::size_t added) {
    // Rows before the one the edit starts in stay as they are: lay out again from its start (a
    // row starts in the same state whatever ended the row before it).
    // A high surrogate just before the edit may pair differently now: its row goes too.
    const std::size_t from = pos > 0 && body[pos - 1] >= 0xD800 && body[pos - 1] < 0xDC00 ? pos - 1 : pos;
    const std::size_t before = body.substr(0, from).rfind(u'\n');
    std::size_t restart = before == std::u16string_view::npos ? 0 : before + 1;
    auto firstGone = std::lower_bound(m_breaks.begin(), m_breaks.end(), from);
    if (firstGone != m_breaks.begin() && *(firstGone - 1) > restart)
        restart = *(firstGone - 1);
    // Rows this near the start are laid out again rather than kept: when the change then runs
    // to the end (a command over the whole body), its rows take the preview's place whole and
    // no long run of rows is copied to keep a few.
    if (restart <= 512)
        restart = 0;
    firstGone = std::upper_bound(m_breaks.begin(), m_breaks.end(), restart);

    // Until a row ends where an old one did after the edit (the old rows go on unchanged from
    // there), or the line ends.
    const std::size_t editEnd = pos + added;
    const auto oldAt = [&](std::size_t i) { return i - added + removed; };
    // The old row ends past the edit are walked along with the new ones, which only move on: a
    // long tail whose rows never line up again is not searched row by row.
    auto oldEnd = std::lower_bound(m_breaks.begin(), m_breaks.end(), oldAt(editEnd));
    const auto linesUp = [&](std::size_t rowEnd) {
        if (rowEnd < editEnd)
            return false;
        const std::size_t old = oldAt(rowEnd);
        while (oldEnd != m_breaks.end() && *oldEnd < old)
            ++oldEnd;
        return oldEnd != m_breaks.end() && *oldEnd == old;
    };
    Change change;
    std::vector<std::size_t>& rowEnds = m_newBreaks; // kept, so that a long walk does not grow it afresh
    rowEnds.clear();
    bool keepBreakAtStop = false;
    // At most up to the end of the line the edit ends in.
    const std::size_t lineEnd = std::min(body.size(), body.find(u'\n', editEnd));
    const std::size_t room = roomFor(lineEnd - restart, m_width);
    if (room >= 4096)
        change.text.swap(m_spare); // only what it lacks is cleared
    change.text.resize(room);
    char16_t* w = change.text.data();
    // A row end: laid out anew, or where the old rows line up again (false: stop there).
    // Row ends before the edit's end cannot line up: told apart with a copy of where it ends, which
    // no row end written can change, so that it stays in a register.
    const std::size_t stop = layRows(body, restart, m_width, editEnd, w, [&, editEnd](std::size_t at) {
        if (at >= editEnd && linesUp(at)) {
            keepBreakAtStop = true;
            return false;
        }
        rowEnds.push_back(at);
        return true;
    });
    change.text.resize(static_cast<std::size_t>(w - change.text.data()));
    const std::size_t oldStop = oldAt(stop);
    const auto lastGone = keepBreakAtStop ? std::lower_bound(firstGone, m_breaks.end(), oldStop)
                                          : std::upper_bound(firstGone, m_breaks.end(), oldStop);
    change.pos = restart + 2 * static_cast<std::size_t>(firstGone - m_breaks.begin());
    change.removed = oldStop + 2 * static_cast<std::size_t>(lastGone - m_breaks.begin()) - change.pos;
    if (firstGone == m_breaks.begin() && m_breaks.end() - lastGone < lastGone - firstGone) {
        // The rows from the start laid out anew, and few old ones after them (a command over
        // nearly all the body): those few follow the new ones, rather than all these being
        // copied in among the old.
        for (auto it = lastGone; it != m_breaks.end(); ++it)
            rowEnds.push_back(*it - removed + added);
        m_breaks.swap(rowEnds);
        return change;
    }
    for (auto it = lastGone; it != m_breaks.end(); ++it)
        *it = *it - removed + added;
    const auto at = m_breaks.erase(firstGone, lastGone);
    m_breaks.insert(at, rowEnds.begin(), rowEnds.end());
    return change;
}

std::size_t PreviewRows::previewPosition(std::size_t bodyPos) const {
    const auto after = std::upper_bound(m_breaks.begin(), m_breaks.end(), bodyPos);
    return bodyPos + 2 * static_cast<std::size_t>(after - m_breaks.begin());
}

} // namespace core
