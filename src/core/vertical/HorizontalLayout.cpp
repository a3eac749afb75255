#include "core/vertical/HorizontalLayout.h"

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
    std::size_t w = 0;
    bool cr = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i] == u'｜' ? u'ー' : text[i];
        cr |= c == u'\r';
        out[w++] = c;
        if (c == NextPageMark.back() && w >= markLength &&
            std::u16string_view(out + w - markLength, markLength) == NextPageMark) {
            const std::size_t mark = w - markLength;
            w = mark - std::min(mark, dashes);
            i += dashes;
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
        char16_t* const columnStart = w;
        std::size_t row = 0, at = column;
        // Cells past the end of a short last page read as nothing.
        while (row < rows && at < length) {
            const char16_t c = page[at];
            if (c == Filler && w != columnStart) {
                if (row + 1 < rows && at + columns < length && page[at + columns] == Filler) {
                    // Two fillers in a row: the line ended here.
                    *w++ = u'\r';
                    *w++ = u'\n';
                    do {
                        ++row;
                        at += columns;
                    } while (row < rows && at < length && page[at] == Filler);
                    continue;
                }
            }
            *w++ = c;
            ++row;
            at += columns;
        }
    }
    return w;
}

} // namespace

std::optional<ScreenSize> screenOfLayout(std::u16string_view text) {
    const std::size_t mark = text.find(NextPageMark);
    if (mark == std::u16string_view::npos)
        return std::nullopt;
    std::size_t dashes = 0;
    for (std::size_t i = mark + NextPageMark.size(); i < text.size() && text[i] == u'-'; ++i)
        ++dashes;
    // The text view puts CR LF after every row; they take no place on the screen, and
    // counting them would make a multi-page text view read back with too many rows.
    long long lineBreaks = 0;
    const std::u16string_view firstPage = text.substr(0, mark);
    for (std::size_t at = firstPage.find(u"\r\n"); at != std::u16string_view::npos;
         at = firstPage.find(u"\r\n", at + 2))
        ++lineBreaks;
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
    const auto flat = std::make_unique_for_overwrite<char16_t[]>(text.size());
    bool lineBreaks = false;
    std::size_t size = cutSeparators(text, flat.get(), screen.columns, lineBreaks);
    if (lineBreaks)
        size = cutLineBreaks(flat.get(), size);

    const std::size_t columns = static_cast<std::size_t>(screen.columns);
    const std::size_t rows = static_cast<std::size_t>(screen.rows);
    const std::size_t pageSize = columns * rows;
    const std::size_t pages = (size + pageSize - 1) / pageSize;
    std::u16string out(pages * pageSize, u'\0'); // a column never gives more than its cells
    char16_t* w = out.data();
    for (std::size_t start = 0; start < size; start += pageSize)
        w = readPage(flat.get() + start, std::min(pageSize, size - start), columns, rows, w);
    out.resize(static_cast<std::size_t>(w - out.data()));
    return out;
}

} // namespace core
