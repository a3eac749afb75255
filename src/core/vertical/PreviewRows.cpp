#include "core/vertical/PreviewRows.h"

#include "platform/Cp932.h"

#include <algorithm>

namespace core {

namespace {

bool isPair(std::u16string_view text, std::size_t i) {
    return text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
           text[i + 1] < 0xE000;
}

// Where one character goes in the rows: a row may end before it (it does not fit) and after
// it (it filled the row).
struct RowCursor {
    int width = 0;
    int position = 0;
    struct Step {
        bool endBefore = false, endAfter = false;
    };
    Step take(std::u16string_view ch) {
        Step step;
        if (ch[0] == u'\n') {
            position = 0;
            return step;
        }
        if (ch[0] == u'\r' || width < 2)
            return step; // a screen without columns (no model chosen) has no rows to end
        // A surrogate pair takes two positions, one for each half's '?' substitute.
        const int size = ch.size() == 2 ? 2 : (platform::isSingleByte(ch[0]) ? 1 : 2);
        position += size;
        if (position == width + 1) { // a two-position character that does not fit starts the next row
            step.endBefore = true;
            position = size;
        }
        if (position == width) {
            step.endAfter = true;
            position = 0;
        }
        return step;
    }
};

} // namespace

void appendRows(std::u16string& out, std::u16string_view text, int width, std::size_t offset,
                std::vector<std::size_t>* breaks) {
    RowCursor rows{width};
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t units = isPair(text, i) ? 2 : 1;
        const std::u16string_view ch = text.substr(i, units);
        const RowCursor::Step step = rows.take(ch);
        if (step.endBefore) {
            out += u"\r\n";
            if (breaks)
                breaks->push_back(offset + i);
        }
        out += ch;
        i += units;
        if (step.endAfter) {
            out += u"\r\n";
            if (breaks)
                breaks->push_back(offset + i);
        }
    }
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
    firstGone = std::upper_bound(m_breaks.begin(), m_breaks.end(), restart);

    // Until a row ends where an old one did after the edit (the old rows go on unchanged from
    // there), or the line ends.
    const std::size_t editEnd = pos + added;
    const auto oldAt = [&](std::size_t i) { return i - added + removed; };
    const auto linesUp = [&](std::size_t rowEnd) {
        return rowEnd >= editEnd && std::binary_search(m_breaks.begin(), m_breaks.end(), oldAt(rowEnd));
    };
    Change change;
    std::vector<std::size_t> rowEnds;
    std::size_t stop = body.size();
    bool keepBreakAtStop = false;
    RowCursor rows{m_width};
    // A row end at i: laid out anew, or where the old rows line up again (false: stop there).
    const auto endRow = [&](std::size_t i) {
        if (linesUp(i)) {
            stop = i;
            keepBreakAtStop = true;
            return false;
        }
        change.text += u"\r\n";
        rowEnds.push_back(i);
        return true;
    };
    for (std::size_t i = restart; i < body.size();) {
        if (body[i] == u'\n' && i >= editEnd) {
            stop = i;
            break;
        }
        const std::size_t units = isPair(body, i) ? 2 : 1;
        const std::u16string_view ch = body.substr(i, units);
        const RowCursor::Step step = rows.take(ch);
        if (step.endBefore && !endRow(i))
            break;
        change.text += ch;
        i += units;
        if (step.endAfter && !endRow(i))
            break;
    }
    const std::size_t oldStop = oldAt(stop);
    const auto lastGone = keepBreakAtStop ? std::lower_bound(firstGone, m_breaks.end(), oldStop)
                                          : std::upper_bound(firstGone, m_breaks.end(), oldStop);
    change.pos = restart + 2 * static_cast<std::size_t>(firstGone - m_breaks.begin());
    change.removed = oldStop + 2 * static_cast<std::size_t>(lastGone - m_breaks.begin()) - change.pos;
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
