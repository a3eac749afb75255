#include "core/vertical/VerticalLayout.h"

#include "core/vertical/FullWidth.h"

#include <algorithm>

namespace core {

std::u16string prepareColumns(std::u16string_view body, int rows) {
    const std::size_t r = static_cast<std::size_t>(std::max(rows, 1));
    std::u16string out;
    out.reserve(body.size() + body.size() / 2);
    // A line break is found when its LF arrives with a CR at the end of the output. Checking
    // the output rather than the input also catches a CR LF that forms once an empty fill
    // brings a lone CR and a lone LF together, as replacing from the start again would.
    forEachFullWidth(body, [&out, r](char16_t c) {
        if (c == u'\n' && !out.empty() && out.back() == u'\r') {
            out.pop_back();
            if (std::size_t used = out.size() % r)
                out.append(r - used, Filler);
        } else if (c == u'\t') {
            out.append(4, Filler);
        } else {
            out.push_back(c == u'ー' ? u'｜' : c);
        }
    });
    return out;
}

int verticalBudget(ScreenSize screen) {
    const int perScreen = screen.columns * screen.rows + screen.columns;
    if (perScreen <= 0)
        return 0;
    return MailCharacters / perScreen * screen.columns * screen.rows;
}

std::u16string separatorRow(int columns) {
    const std::size_t dashes = static_cast<std::size_t>(std::max(columns - 5, 0));
    std::u16string row(dashes, u'-');
    row += NextPageMark;
    row.append(dashes, u'-');
    return row;
}

std::u16string layOutPages(std::u16string_view text, ScreenSize screen, bool rowBreaks) {
    const std::size_t columns = static_cast<std::size_t>(std::max(screen.columns, 0));
    const std::size_t rows = static_cast<std::size_t>(std::max(screen.rows, 1));
    const std::size_t pageSize = columns * rows;
    const std::u16string separator = separatorRow(screen.columns);

    const std::size_t pages = pageSize == 0 ? 1 : std::max<std::size_t>(1, (text.size() + pageSize - 1) / pageSize);
    const std::size_t rowLength = columns + (rowBreaks ? 2 : 0);
    std::u16string out;
    out.reserve(pages * (rows * rowLength + separator.size() + 2));

    std::size_t start = 0;
    for (std::size_t page = 0; page < pages; ++page) {
        const std::u16string_view chars = text.substr(start, std::min(pageSize, text.size() - start));
        for (std::size_t row = 0; row < rows; ++row) {
            // Row j holds characters j, j + R, j + 2R, ... of the page, the first on the right.
            const std::size_t taken = chars.size() > row ? (chars.size() - row - 1) / rows + 1 : 0;
            out.append(columns - taken, Filler);
            for (std::size_t k = taken; k-- > 0;)
                out.push_back(chars[row + k * rows]);
            if (rowBreaks)
                out += u"\r\n";
        }
        start += chars.size();
        if (page + 1 < pages) {
            out += separator;
            if (rowBreaks)
                out += u"\r\n";
        }
    }
    return out;
}

} // namespace core
