#include "core/vertical/HorizontalLayout.h"

#include "core/vertical/Simd.h"
#include "core/vertical/TextScan.h"
#include "core/vertical/VerticalLayout.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#ifdef KOTORI_SSE2
#include <immintrin.h>
#endif

namespace core {

namespace {

long long roundHalfToEven(long long numerator, long long denominator) {
    long long quotient = numerator / denominator;
    long long remainder = numerator % denominator;
    if (remainder < 0) {
        remainder += denominator;
        --quotient;
    }
    if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

// What a cut saw in the units it kept (and maybe in a few it cut).
struct Seen {
    bool carriageReturn = false;
    bool surrogate = false; // a half of a character outside the BMP
};

// "｜" back to "ー" and every separator row cut out, from text into out; returns the length
// written. A cut can bring the pieces of a new mark together; finding marks at the end of
// the output sees those too, as searching again from the start would. copyBlock copies a
// block of textscan::Block units as textscan::copyBlockPlain does; Partial: it copies the
// shorter block at the end as well, given how many units it has.
template <bool Partial, typename CopyBlock>
[[gnu::always_inline]] inline std::size_t cutSeparatorsWith(std::u16string_view text, char16_t* out, int columns,
                                                            Seen& seen, CopyBlock copyBlock) {
    const std::size_t dashes = static_cast<std::size_t>(std::max(columns - 5, 0));
    const std::size_t markLength = NextPageMark.size();
    const char16_t markEnd = NextPageMark.back();
    const char16_t* const in = text.data();
    const std::size_t n = text.size();
    std::size_t w = 0;
    bool cr = false, surrogate = false;
    for (std::size_t i = 0; i < n;) {
        const std::size_t count = std::min(n - i, textscan::Block);
        if (Partial || count == textscan::Block) {
            const std::size_t plain = copyBlock(in + i, out + w, count, cr, surrogate);
            w += plain;
            i += plain;
            if (plain == count)
                continue;
        }
        // One unit at a time up to the next block: the mark's last character, or the tail.
        for (const std::size_t stop = Partial || n - i >= textscan::Block ? i + 1 : n; i < stop; ++i) {
            const char16_t c = in[i] == u'｜' ? u'ー' : in[i];
            cr |= c == u'\r';
            surrogate |= (c & 0xF800) == 0xD800;
            out[w++] = c;
            if (c == markEnd && w >= markLength &&
                std::u16string_view(out + w - markLength, markLength) == NextPageMark) {
                const std::size_t mark = w - markLength;
                w = mark - std::min(mark, dashes);
                i += dashes;
            }
        }
    }
    seen = {cr, surrogate};
    return w;
}

#ifdef KOTORI_SSE2
static_assert(textscan::Block == 16);

// Beside AVX-512, the masked loops make lane masks with BMI2, and reading pages back
// compresses lanes with VBMI2.
bool makesLaneMasks() {
    static const bool has = __builtin_cpu_supports("bmi2");
    return has;
}
bool compressesLanes() {
    static const bool has = __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("popcnt");
    return has;
}

// cutSeparators with the sixteen units of a block in one vector and a bit each in a mask.
__attribute__((target("avx512f,avx512bw,avx512vl,bmi2"))) std::size_t
cutSeparatorsMasked(std::u16string_view text, char16_t* out, int columns, Seen& seen) {
    return cutSeparatorsWith<true>(
        text, out, columns, seen,
        [](const char16_t* from, char16_t* to, std::size_t count, bool& cr, bool& surrogate)
            __attribute__((target("avx512f,avx512bw,avx512vl,bmi2"))) {
                // In the short block at the end, lanes past the text read as 0, which is none of
                // the units looked for.
                const bool whole = count == textscan::Block;
                const auto lanes = static_cast<__mmask16>(_bzhi_u32(0xFFFF, static_cast<unsigned>(count)));
                __m256i x = whole ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from))
                                  : _mm256_maskz_loadu_epi16(lanes, from);
                x = _mm256_mask_blend_epi16(_mm256_cmpeq_epi16_mask(x, _mm256_set1_epi16(static_cast<short>(u'｜'))), x,
                                            _mm256_set1_epi16(static_cast<short>(u'ー')));
                if (whole)
                    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), x);
                else
                    _mm256_mask_storeu_epi16(to, lanes, x);
                cr |= _mm256_cmpeq_epi16_mask(x, _mm256_set1_epi16(u'\r')) != 0;
                surrogate |= _mm256_cmpeq_epi16_mask(_mm256_and_si256(x, _mm256_set1_epi16(static_cast<short>(0xF800))),
                                                     _mm256_set1_epi16(static_cast<short>(0xD800))) != 0;
                const unsigned ends =
                    _mm256_cmpeq_epi16_mask(x, _mm256_set1_epi16(static_cast<short>(NextPageMark.back())));
                return ends == 0 ? count : static_cast<std::size_t>(std::countr_zero(ends));
            });
}
#endif

std::size_t cutSeparators(std::u16string_view text, char16_t* out, int columns, Seen& seen) {
#ifdef KOTORI_SSE2
    if (simd::masked() && makesLaneMasks())
        return cutSeparatorsMasked(text, out, columns, seen);
    if (simd::enabled())
        return cutSeparatorsWith<false>(text, out, columns, seen,
                                        [](const char16_t* from, char16_t* to, std::size_t, bool& cr, bool& surrogate) {
                                            return textscan::copyBlockVector(from, to, cr, surrogate);
                                        });
#endif
    return cutSeparatorsWith<false>(text, out, columns, seen,
                                    [](const char16_t* from, char16_t* to, std::size_t, bool& cr, bool& surrogate) {
                                        return textscan::copyBlockPlain(from, to, cr, surrogate);
                                    });
}

// In place: every CR LF removed, including one that forms when a removal joins a CR and an LF.
std::size_t cutLineBreaks(char16_t* data, std::size_t size) {
    std::size_t w = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == u'\n' && w > 0 && data[w - 1] == u'\r')
            --w;
        else
            data[w++] = data[i];
    }
    return w;
}

// Writes one cell's character: a character outside the BMP takes both halves.
inline char16_t* put(char16_t* w, char16_t c) {
    *w++ = c;
    return w;
}
inline char16_t* put(char16_t* w, char32_t c) {
    if (c > 0xFFFF) {
        *w++ = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        c = 0xDC00 + (c & 0x3FF);
    }
    *w++ = static_cast<char16_t>(c);
    return w;
}

// Reads one page column by column, from the right; writes at most one character per cell.
template <typename Cell>
char16_t* readPage(const Cell* page, std::size_t length, std::size_t columns, std::size_t rows, char16_t* w) {
    for (std::size_t column = columns; column-- > 0;) {
        // Cells past the end of a short last page read as nothing (a full page needs no division).
        const std::size_t cells = length == columns * rows ? rows
                                  : column < length        ? std::min(rows, (length - column - 1) / columns + 1)
                                                           : 0;
        const std::size_t end = column + cells * columns;
        char16_t* const columnStart = w;
        for (std::size_t at = column; at < end;) {
            const Cell c = page[at];
            at += columns;
            if (c != Filler) {
                w = put(w, c);
                continue;
            }
            if (w != columnStart && at < end && page[at] == Filler) {
                // Two fillers in a row: the line ended here.
                *w++ = u'\r';
                *w++ = u'\n';
                while (at < end && page[at] == Filler)
                    at += columns;
                continue;
            }
            *w++ = Filler;
        }
    }
    return w;
}

// The pages read cell by cell, as readPage does; out has room for two units a cell.
template <typename Cell>
char16_t* readPages(const Cell* cells, std::size_t size, std::size_t columns, std::size_t rows, char16_t* w) {
    const std::size_t pageSize = columns * rows;
    for (std::size_t start = 0; start < size; start += pageSize)
        w = readPage(cells + start, std::min(pageSize, size - start), columns, rows, w);
    return w;
}

#ifdef KOTORI_SSE2
// Pages of up to this many cells are read sixteen cells at a time.
constexpr std::size_t VectorPage = 128;
__extension__ typedef unsigned __int128 PageBits; // a bit for each cell of a page, in the column order

// The whole pages among `size` cells, read as readPage reads them: each lane of the column
// order picks its cell out of the page's registers, and the runs of fillers that end lines
// are found for all the page's columns at once. columns * rows <= VectorPage.
__attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi2,bmi2,popcnt"))) char16_t*
readPagesMasked(const char16_t* cells, std::size_t size, std::size_t columns, std::size_t rows, char16_t* w) {
    const std::size_t pageSize = columns * rows;
    const std::size_t chunks = (pageSize + 15) / 16, pairs = (pageSize + 31) / 32;
    // For each place in the column order, the cell it reads, and the places of the columns'
    // first cells. Kept for the next page turned back on the same screen.
    struct Order {
        std::size_t columns = 0, rows = 0;
        std::uint16_t cell[VectorPage];
        std::uint16_t inPair[VectorPage / 16][VectorPage / 32]; // the lanes reading from each pair of registers
        PageBits tops;
    };
    static thread_local Order order;
    if (order.columns != columns || order.rows != rows) {
        order = {columns, rows, {}, {}, 0};
        std::size_t k = 0;
        for (std::size_t column = columns; column-- > 0;) {
            order.tops |= PageBits{1} << k;
            for (std::size_t row = 0; row < rows; ++row, ++k) {
                const std::size_t cell = row * columns + column;
                order.cell[k] = static_cast<std::uint16_t>(cell);
                order.inPair[k / 16][cell / 32] |= static_cast<std::uint16_t>(1u << (k % 16));
            }
        }
    }
    __m256i index[VectorPage / 16];
    for (std::size_t c = 0; c < chunks; ++c)
        index[c] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(order.cell + 16 * c));
    // The first `count` lanes, without a branch: how many a chunk keeps varies from chunk to chunk.
    const auto lanes = [](std::size_t count) __attribute__((target("bmi2"))) {
        return static_cast<__mmask16>(_bzhi_u32(0xFFFF, static_cast<unsigned>(std::min<std::size_t>(count, 16))));
    };
    const __m256i filler = _mm256_set1_epi16(static_cast<short>(Filler));
    const __m256i cr = _mm256_set1_epi16(u'\r'), lf = _mm256_set1_epi16(u'\n');
    const PageBits inPage = pageSize == VectorPage ? ~PageBits{0} : (PageBits{1} << pageSize) - 1;
    const std::size_t whole = size / pageSize;
    for (std::size_t n = 0; n < whole; ++n) {
        const char16_t* const page = cells + n * pageSize;
        __m256i from[VectorPage / 16];
        for (std::size_t r = 0; r < 2 * pairs; ++r)
            from[r] = _mm256_maskz_loadu_epi16(lanes(r * 16 < pageSize ? pageSize - r * 16 : 0), page + 16 * r);
        __m256i read[VectorPage / 16];
        std::uint64_t fillerWords[2] = {}; // in general registers: a mask stored and read back wider stalls
        for (std::size_t c = 0; c < chunks; ++c) {
            __m256i v = _mm256_permutex2var_epi16(from[0], index[c], from[1]);
            for (std::size_t q = 1; q < pairs; ++q)
                v = _mm256_mask_blend_epi16(order.inPair[c][q], v,
                                            _mm256_permutex2var_epi16(from[2 * q], index[c], from[2 * q + 1]));
            read[c] = v;
            fillerWords[c / 4] |= std::uint64_t{_cvtmask16_u32(_mm256_cmpeq_epi16_mask(v, filler))} << (16 * (c % 4));
        }
        const PageBits fillers = PageBits{fillerWords[1]} << 64 | fillerWords[0];
        // Below a column's top, a run of two fillers or more ends the line: CR LF in its
        // first two cells, the rest of it dropped. Adding a run's first bit to the run clears
        // it whole (a run never reaches the next column, whose top is not in it).
        const PageBits runs = fillers & ~order.tops & inPage;
        const PageBits ends = runs & ~(runs << 1) & (runs >> 1);
        const PageBits gone = runs & ~(runs + ends);
        const PageBits lineFeeds = ends << 1;
        const PageBits kept = (inPage & ~gone) | ends | lineFeeds;
        // Sixteen bits for each chunk, read from memory rather than shifted out of 128.
        std::uint16_t keeps[VectorPage / 16], crs[VectorPage / 16], lfs[VectorPage / 16];
        std::memcpy(keeps, &kept, sizeof keeps);
        std::memcpy(crs, &ends, sizeof crs);
        std::memcpy(lfs, &lineFeeds, sizeof lfs);
        for (std::size_t c = 0; c < chunks; ++c) {
            const __mmask16 keep = keeps[c], crAt = crs[c], lfAt = lfs[c];
            __m256i v = _mm256_mask_mov_epi16(_mm256_mask_mov_epi16(read[c], crAt, cr), lfAt, lf);
            const auto count = static_cast<std::size_t>(std::popcount(static_cast<unsigned>(keep)));
            _mm256_mask_storeu_epi16(w, lanes(count), _mm256_maskz_compress_epi16(keep, v));
            w += count;
        }
    }
    const std::size_t rest = size - whole * pageSize;
    return rest == 0 ? w : readPage(cells + whole * pageSize, rest, columns, rows, w);
}
#endif

char16_t* readPagesOf(const char16_t* cells, std::size_t size, std::size_t columns, std::size_t rows, char16_t* w) {
#ifdef KOTORI_SSE2
    if (columns * rows <= VectorPage && simd::masked() && makesLaneMasks() && compressesLanes())
        return readPagesMasked(cells, size, columns, rows, w);
#endif
    return readPages(cells, size, columns, rows, w);
}

// The layout keeps a character outside the BMP whole in one cell: one cell a pair.
std::vector<char32_t> cellsOf(std::u16string_view units) {
    std::vector<char32_t> cells;
    cells.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            cells.push_back(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            cells.push_back(c);
        }
    }
    return cells;
}

std::optional<ScreenSize> screenOf(std::u16string_view text) {
    const std::size_t mark = textscan::find(text, NextPageMark);
    if (mark == std::u16string_view::npos)
        return std::nullopt;
    std::size_t dashes = 0;
    for (std::size_t i = mark + NextPageMark.size(); i < text.size() && text[i] == u'-'; ++i)
        ++dashes;
    // The text view puts CR LF after every row; they take no place on the screen, and
    // counting them would make a multi-page text view read back with too many rows.
    const auto lineBreaks = static_cast<long long>(textscan::countLineBreaks(text.substr(0, mark)));
    const long long columns = static_cast<long long>(dashes) + 5;
    // A pair takes one position with its two units.
    const std::u16string_view page = text.substr(0, mark);
    const auto pairs = textscan::holdsSurrogate(page) ? static_cast<long long>(textscan::countPairs(page)) : 0LL;
    const long long before = static_cast<long long>(mark) - static_cast<long long>(dashes) - 2 * lineBreaks - pairs;
    const long long rows = roundHalfToEven(before, columns);
    const long long limit = 1 << 20;
    return ScreenSize{static_cast<int>(std::min(columns, limit)), static_cast<int>(std::clamp(rows, -1LL, limit))};
}

} // namespace

std::optional<ScreenSize> screenOfLayout(std::u16string_view text) {
    return screenOf(text);
}

std::optional<std::u16string> toHorizontal(std::u16string_view text, ScreenSize model) {
    const ScreenSize screen = screenOf(text).value_or(model);
    if (screen.columns < 1 || screen.rows < 1)
        return std::nullopt;
    // The text without separators and line breaks; a mail's layout fits on the stack.
    char16_t local[2048];
    std::unique_ptr<char16_t[]> heap;
    if (text.size() > std::size(local))
        heap = std::make_unique_for_overwrite<char16_t[]>(text.size());
    char16_t* const flat = heap ? heap.get() : local;
    Seen seen;
    std::size_t size = cutSeparators(text, flat, screen.columns, seen);
    if (seen.carriageReturn)
        size = cutLineBreaks(flat, size);

    const std::size_t columns = static_cast<std::size_t>(screen.columns);
    const std::size_t rows = static_cast<std::size_t>(screen.rows);
    // A cell gives at most one character, and a line break stands for two fillers or more;
    // cells past the text give nothing.
    // Pairs only where halves were seen (a lone half reads the same either way).
    if (seen.surrogate) {
        const std::vector<char32_t> cells = cellsOf(std::u16string_view(flat, size));
        std::u16string out(2 * cells.size(), u'\0');
        out.resize(
            static_cast<std::size_t>(readPages(cells.data(), cells.size(), columns, rows, out.data()) - out.data()));
        return out;
    }
    std::u16string out(size, u'\0');
    out.resize(static_cast<std::size_t>(readPagesOf(flat, size, columns, rows, out.data()) - out.data()));
    return out;
}

} // namespace core
