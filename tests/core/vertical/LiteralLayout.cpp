#include "LiteralLayout.h"

#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "platform/Width.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace literal {

namespace {

const std::u16string Space = u"\u3000", Mark = u"次のページ";

void replaceEach(std::u16string& text, const std::u16string& from, const std::u16string& to) {
    for (auto p = text.find(from); p != std::u16string::npos; p = text.find(from))
        text.replace(p, from.size(), to);
}

std::u16string spaces(int n) {
    return std::u16string(static_cast<std::size_t>(n), u'\u3000');
}

} // namespace

core::VerticalResult vertical(const std::u16string& body, int columns, int rows, int mode, core::Answer answer,
                              std::u16string& asked) {
    asked.clear();
    if (rows < 1)
        return {core::VerticalResult::CannotLayOut, {}};
    std::u16string text;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (!platform::isSingleByte(body[i])) {
            text += body[i];
            continue;
        }
        const bool pair = i + 1 < body.size() && (body[i + 1] == u'ﾞ' || body[i + 1] == u'ﾟ');
        text += platform::toFullWidth(body.substr(i, pair ? 2 : 1));
        i += pair;
    }
    replaceEach(text, u"\t", spaces(4));
    for (auto p = text.find(u"\r\n"); p != std::u16string::npos; p = text.find(u"\r\n"))
        text.replace(p, 2, spaces(p % rows ? rows - static_cast<int>(p % rows) : 0));
    replaceEach(text, u"ー", u"｜");
    const std::size_t page = static_cast<std::size_t>(columns * rows);
    if (columns < 1 && !text.empty()) // no page holds a character
        return {core::VerticalResult::CannotLayOut, {}};
    const std::size_t maximum = columns < 1 ? 0 : 250 / (page + static_cast<std::size_t>(columns)) * page;
    // Fewer than five columns leave no room for the separator row: one page only, and the
    // budget question only when cutting to the budget brings the text to that page.
    const bool onePage = columns < 5;
    if (onePage && text.size() > page && maximum != page)
        return {core::VerticalResult::CannotLayOut, {}};
    if (text.size() > maximum) {
        asked = platform::fromUtf8(std::to_string(text.size() - maximum)) +
                u"文字オーバーになるので、削除してもよろしいですか？";
        if (answer == core::Answer::Yes)
            text.resize(maximum);
        else if (mode == 2)
            return {core::VerticalResult::Declined, {}};
    }
    if (onePage && text.size() > page)
        return {core::VerticalResult::CannotLayOut, {}};
    const std::u16string dashes(static_cast<std::size_t>(std::max(columns - 5, 0)), u'-');
    const std::u16string separator = dashes + Mark + dashes;
    std::u16string out;
    for (std::size_t start = 0;; start += page) {
        const std::u16string chars = text.substr(start, page);
        for (std::size_t j = 1; j <= static_cast<std::size_t>(rows); ++j) {
            std::u16string row;
            for (std::size_t p = j; p <= chars.size(); p += static_cast<std::size_t>(rows))
                row = chars.substr(p - 1, 1) + row;
            out += spaces(columns - static_cast<int>(row.size())) + row + (mode != 1 ? u"\r\n" : u"");
        }
        if (start + page >= text.size()) // the preview: a row a line
            return {core::VerticalResult::Converted, mode == 0 ? out.substr(0, out.size() - 2) : out};
        out += separator + (mode != 1 ? u"\r\n" : u"");
    }
}

namespace {

bool pairAt(const std::u16string& text, std::size_t i) {
    return i + 1 < text.size() && text[i] >= 0xD800 && text[i] < 0xDC00 && text[i + 1] >= 0xDC00 &&
           text[i + 1] < 0xE000;
}

// Each surrogate pair swapped for a private-use character of its own that the text does not
// hold, so that the rules below, which count units, see one character; `pairs` maps back.
void standInForPairs(std::u16string& text, std::map<char16_t, std::u16string>& pairs) {
    char16_t next = 0xE000;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!pairAt(text, i))
            continue;
        while (text.find(next) != std::u16string::npos)
            ++next;
        pairs[next] = text.substr(i, 2);
        text.replace(i, 2, 1, next++);
    }
}

} // namespace

// A character outside the BMP (a pair of units) takes one position and one cell.
std::optional<std::u16string> horizontal(std::u16string text, int columns, int rows) {
    if (auto p = text.find(Mark); p != std::u16string::npos) {
        std::size_t d = 0;
        while (p + 5 + d < text.size() && text[p + 5 + d] == u'-')
            ++d;
        // Line breaks before the separator take no place on the screen.
        double breaks = 0, pairs = 0;
        for (auto at = text.find(u"\r\n"); at < p; at = text.find(u"\r\n", at + 2))
            ++breaks;
        for (std::size_t i = 0; i + 1 < p; ++i)
            if (pairAt(text, i))
                ++pairs, ++i;
        columns = static_cast<int>(d) + 5;
        // 1-based position as the rule counts it; nearbyint rounds halves to even.
        rows = static_cast<int>(
            std::nearbyint((static_cast<double>(p + 1) - 2 * breaks - pairs - static_cast<double>(d) - 1) / columns));
    }
    if (columns < 1 || rows < 1)
        return std::nullopt;
    replaceEach(text, u"｜", u"ー");
    const std::size_t back = static_cast<std::size_t>(columns > 5 ? columns - 5 : 0);
    for (auto b = text.find(Mark); b != std::u16string::npos; b = text.find(Mark)) {
        const std::size_t start = b >= back ? b - back : 0;
        text.erase(start, b + 5 + back - start);
    }
    replaceEach(text, u"\r\n", u"");
    std::map<char16_t, std::u16string> pairs;
    standInForPairs(text, pairs);
    const std::size_t c = static_cast<std::size_t>(columns), page = c * static_cast<std::size_t>(rows);
    std::u16string result;
    for (std::size_t start = 0; start < text.size(); start += page) {
        const std::u16string chars = text.substr(start, page);
        for (std::size_t column = 1; column <= c; ++column) {
            std::u16string columnText;
            for (std::size_t i = c - column; i < page; i += c) {
                const std::u16string ch = i < chars.size() ? chars.substr(i, 1) : u"";
                const std::u16string below = i + c < chars.size() ? chars.substr(i + c, 1) : u"";
                if (!columnText.empty() && ch == Space && below == Space) {
                    columnText += u"\r\n";
                    while (i + c < chars.size() && chars.substr(i + c, 1) == Space)
                        i += c;
                } else {
                    columnText += ch;
                }
            }
            result += columnText;
        }
    }
    for (const auto& [stand, pair] : pairs)
        if (const auto at = result.find(stand); at != std::u16string::npos)
            result.replace(at, 1, pair);
    return result;
}

} // namespace literal
