#include "LiteralLayout.h"

#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "platform/Width.h"

#include <cmath>

namespace literal {

namespace {

const std::u16string Space = u"\u3000";
const std::u16string Mark = u"次のページ";

void replaceEach(std::u16string& text, const std::u16string& from, const std::u16string& to) {
    for (auto p = text.find(from); p != std::u16string::npos; p = text.find(from))
        text.replace(p, from.size(), to);
}

std::u16string repeat(const std::u16string& piece, int times) {
    std::u16string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

} // namespace

std::u16string fullWidth(const std::u16string& text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!platform::isSingleByte(text[i])) {
            out += text[i];
        } else if (i + 1 < text.size() && (text[i + 1] == u'ﾞ' || text[i + 1] == u'ﾟ')) {
            out += platform::toFullWidth(text.substr(i, 2));
            ++i;
        } else {
            out += platform::toFullWidth(text.substr(i, 1));
        }
    }
    return out;
}

std::optional<std::u16string> vertical(const std::u16string& body, int columns, int rows, int mode, core::Answer answer,
                                       std::u16string& asked) {
    asked.clear();
    std::u16string text = fullWidth(body);
    replaceEach(text, u"\t", repeat(Space, 4));
    for (auto p = text.find(u"\r\n"); p != std::u16string::npos; p = text.find(u"\r\n")) {
        int k = static_cast<int>(p);
        text.replace(p, 2, k % rows == 0 ? u"" : repeat(Space, rows - k % rows));
    }
    replaceEach(text, u"ー", u"｜");
    int pages = 250 / (columns * rows + columns);
    int maximum = pages * columns * rows;
    if (static_cast<int>(text.size()) > maximum) {
        asked = platform::fromUtf8(std::to_string(text.size() - static_cast<std::size_t>(maximum))) +
                u"文字オーバーになるので、削除してもよろしいですか？";
        if (answer == core::Answer::Yes)
            text = text.substr(0, static_cast<std::size_t>(maximum));
        else if (mode == 2)
            return std::nullopt;
    }
    const std::size_t pageSize = static_cast<std::size_t>(columns * rows);
    std::u16string rest = text.size() > pageSize ? text.substr(pageSize) : u"";
    std::u16string page = text.substr(0, pageSize);
    std::u16string out;
    for (;;) {
        for (int j = 1; j <= rows; ++j) {
            std::u16string row;
            for (std::size_t p = static_cast<std::size_t>(j); p <= page.size(); p += static_cast<std::size_t>(rows))
                row = page.substr(p - 1, 1) + row;
            while (row.size() < static_cast<std::size_t>(columns))
                row = Space + row;
            out += row;
            if (mode == 2)
                out += u"\r\n";
        }
        if (rest.empty())
            break;
        out += std::u16string(static_cast<std::size_t>(columns - 5), u'-') + Mark +
               std::u16string(static_cast<std::size_t>(columns - 5), u'-');
        if (mode == 2)
            out += u"\r\n";
        page = rest.substr(0, pageSize);
        rest = rest.size() > pageSize ? rest.substr(pageSize) : u"";
    }
    return out;
}

std::optional<std::u16string> horizontal(std::u16string text, int modelColumns, int modelRows) {
    int columns = modelColumns, rows = modelRows;
    auto p = text.find(Mark);
    if (p != std::u16string::npos) {
        int d = 0;
        while (p + 5 + static_cast<std::size_t>(d) < text.size() && text[p + 5 + static_cast<std::size_t>(d)] == u'-')
            ++d;
        columns = d + 5;
        // Line breaks before the separator take no place on the screen.
        long breaks = 0;
        for (auto at = text.find(u"\r\n"); at < p; at = text.find(u"\r\n", at + 2))
            ++breaks;
        p -= static_cast<std::size_t>(2 * breaks);
        // 1-based position as the rule counts it; nearbyint rounds halves to even.
        rows = static_cast<int>(std::nearbyint(static_cast<double>(static_cast<long>(p + 1) - d - 1) / columns));
    }
    if (columns < 1 || rows < 1)
        return std::nullopt;
    replaceEach(text, u"｜", u"ー");
    const std::size_t back = static_cast<std::size_t>(columns > 5 ? columns - 5 : 0);
    for (auto b = text.find(Mark); b != std::u16string::npos; b = text.find(Mark)) {
        std::size_t start = b >= back ? b - back : 0;
        text.erase(start, b + 5 + back - start);
    }
    replaceEach(text, u"\r\n", u"");
    const std::size_t c = static_cast<std::size_t>(columns), pageSize = c * static_cast<std::size_t>(rows);
    std::u16string result;
    while (!text.empty()) {
        std::u16string page = text.substr(0, pageSize);
        text = text.size() > pageSize ? text.substr(pageSize) : u"";
        for (std::size_t column = 1; column <= c; ++column) {
            std::u16string columnText;
            std::size_t i = c - column;
            while (i < pageSize) {
                std::u16string ch = i < page.size() ? page.substr(i, 1) : u"";
                if (!columnText.empty() && ch == Space) {
                    std::u16string below = i + c < page.size() ? page.substr(i + c, 1) : u"";
                    if (below == Space) {
                        columnText += u"\r\n";
                        while (i < page.size() && page.substr(i, 1) == Space)
                            i += c;
                        continue;
                    }
                    columnText += Space;
                } else {
                    columnText += ch;
                }
                i += c;
            }
            result += columnText;
        }
    }
    return result;
}

} // namespace literal
