#include "core/vertical/HorizontalLayout.h"

#include "core/vertical/TextScan.h"
#include "core/vertical/VerticalLayout.h"

#include <algorithm>
#include <memory>

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

// "｜" back to "ー" and every separator row cut out, from text into out; returns the length
// written. A cut can bring the pieces of a new mark together; finding marks at the end of
// the output sees those too, as searching again from the start would.
std::size_t cutSeparators(std::u16string_view text, char16_t* out, int columns, bool& sawCarriageReturn) {
    const std::size_t dashes = static_cast<std::size_t>(std::max(columns - 5, 0));
    const std::size_t markLength = NextPageMark.size();
    const char16_t markEnd = NextPageMark.back();
    const char16_t* const in = text.data();
    const std::size_t n = text.size();
    std::size_t w = 0;
    bool cr = false;
    for (std::size_t i = 0; i < n;) {
        if (n - i >= textscan::Block) {
            const std::size_t plain = textscan::copyBlockFlat(in + i, out + w, cr);
            w += plain;
            i += plain;
            if (plain == textscan::Block)
                continue;
        }
        // One unit at a time up to the next block: the mark's last character, or the tail.
        for (const std::size_t stop = n - i >= textscan::Block ? i + 1 : n; i < stop; ++i) {
            const char16_t c = in[i] == u'｜' ? u'ー' : in[i];
            cr |= c == u'\r';
            out[w++] = c;
            if (c == markEnd && w >= markLength &&
                std::u16string_view(out + w - markLength, markLength) == NextPageMark) {
                const std::size_t mark = w - markLength;
                w = mark - std::min(mark, dashes);
                i += dashes;
            }
        }
    }
    sawCarriageReturn = cr;
    return w;
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

// Reads one page column by column, from the right; writes at most one character per cell.
char16_t* readPage(const char16_t* page, std::size_t length, std::size_t columns, std::size_t rows, char16_t* w) {
    for (std::size_t column = columns; column-- > 0;) {
        // Cells past the end of a short last page read as nothing (a full page needs no division).
        const std::size_t cells = length == columns * rows ? rows
                                  : column < length        ? std::min(rows, (length - column - 1) / columns + 1)
                                                           : 0;
        const std::size_t end = column + cells * columns;
        char16_t* const columnStart = w;
        for (std::size_t at = column; at < end;) {
            const char16_t c = page[at];
            at += columns;
            if (c != Filler) {
                *w++ = c;
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
            *w++ = c;
        }
    }
    return w;
}

} // namespace

std::optional<ScreenSize> screenOfLayout(std::u16string_view text) {
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
    const long long before = static_cast<long long>(mark) - static_cast<long long>(dashes) - 2 * lineBreaks;
    const long long rows = roundHalfToEven(before, columns);
    const long long limit = 1 << 20;
    return ScreenSize{static_cast<int>(std::min(columns, limit)), static_cast<int>(std::clamp(rows, -1LL, limit))};
}

std::optional<std::u16string> toHorizontal(std::u16string_view text, ScreenSize model) {
    const ScreenSize screen = screenOfLayout(text).value_or(model);
    if (screen.columns < 1 || screen.rows < 1)
        return std::nullopt;
    // The text without separators and line breaks; a mail's layout fits on the stack.
    char16_t local[2048];
    std::unique_ptr<char16_t[]> heap;
    if (text.size() > std::size(local))
        heap = std::make_unique_for_overwrite<char16_t[]>(text.size());
    char16_t* const flat = heap ? heap.get() : local;
    bool lineBreaks = false;
    std::size_t size = cutSeparators(text, flat, screen.columns, lineBreaks);
    if (lineBreaks)
        size = cutLineBreaks(flat, size);

    const std::size_t columns = static_cast<std::size_t>(screen.columns);
    const std::size_t rows = static_cast<std::size_t>(screen.rows);
    const std::size_t pageSize = columns * rows;
    const std::size_t pages = (size + pageSize - 1) / pageSize;
    std::u16string out(pages * pageSize, u'\0'); // a column never gives more than its cells
    char16_t* w = out.data();
    for (std::size_t start = 0; start < size; start += pageSize)
        w = readPage(flat + start, std::min(pageSize, size - start), columns, rows, w);
    out.resize(static_cast<std::size_t>(w - out.data()));
    return out;
}

} // namespace core
