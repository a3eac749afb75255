#include "core/vertical/HorizontalLayout.h"

#include "core/vertical/VerticalLayout.h"

#include <algorithm>

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

bool endsWithMark(const std::u16string& text) {
    return text.size() >= NextPageMark.size() && text.back() == NextPageMark.back() &&
           std::u16string_view(text).substr(text.size() - NextPageMark.size()) == NextPageMark;
}

// "｜" back to "ー", then every separator row cut out. A cut can bring the pieces of a new
// mark together; finding marks at the end of the output sees those too.
std::u16string withoutSeparators(std::u16string_view text, int columns) {
    const std::size_t dashes = static_cast<std::size_t>(std::max(columns - 5, 0));
    std::u16string out;
    out.reserve(text.size());
    std::size_t skip = 0;
    for (char16_t c : text) {
        if (skip > 0) {
            --skip;
            continue;
        }
        out.push_back(c == u'｜' ? u'ー' : c);
        if (endsWithMark(out)) {
            const std::size_t mark = out.size() - NextPageMark.size();
            out.resize(mark - std::min(mark, dashes));
            skip = dashes;
        }
    }
    return out;
}

// Every CR LF removed, including one that forms when a removal joins a CR and an LF.
std::u16string withoutLineBreaks(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c == u'\n' && !out.empty() && out.back() == u'\r')
            out.pop_back();
        else
            out.push_back(c);
    }
    return out;
}

void readPage(std::u16string_view page, std::size_t columns, std::size_t rows, std::u16string& out) {
    auto at = [&](std::size_t row, std::size_t column) -> char16_t {
        const std::size_t i = row * columns + column;
        return i < page.size() ? page[i] : u'\0'; // past the end reads as nothing
    };
    for (std::size_t column = columns; column-- > 0;) {
        const std::size_t columnStart = out.size();
        std::size_t row = 0;
        while (row < rows) {
            const char16_t c = at(row, column);
            if (c == u'\0' && row * columns + column >= page.size()) {
                ++row;
                continue;
            }
            if (c == Filler && out.size() > columnStart) {
                if (row + 1 < rows && at(row + 1, column) == Filler) {
                    // Two fillers in a row: the line ended here.
                    out += u"\r\n";
                    while (row < rows && at(row, column) == Filler)
                        ++row;
                    continue;
                }
                out.push_back(Filler);
            } else {
                out.push_back(c);
            }
            ++row;
        }
    }
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
    for (std::size_t at = text.find(u"\r\n"); at < mark; at = text.find(u"\r\n", at + 2))
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
    const std::u16string flat = withoutLineBreaks(withoutSeparators(text, screen.columns));

    const std::size_t columns = static_cast<std::size_t>(screen.columns);
    const std::size_t rows = static_cast<std::size_t>(screen.rows);
    const std::size_t pageSize = columns * rows;
    std::u16string out;
    out.reserve(flat.size() + flat.size() / 4);
    for (std::size_t start = 0; start < flat.size(); start += pageSize)
        readPage(std::u16string_view(flat).substr(start, std::min(pageSize, flat.size() - start)), columns, rows, out);
    return out;
}

} // namespace core
