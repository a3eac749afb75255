#include "core/vertical/VerticalPages.h"

#include "core/vertical/ColumnFlow.h"
#include "core/vertical/TextScan.h"
#include "core/vertical/VerticalLayout.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace core {

namespace {

std::size_t dashesFor(std::size_t columns) {
    return columns > 5 ? columns - 5 : 0;
}

} // namespace

// Where the next character goes, walking down each column and then to the column on its
// left; pages are opened on the way. Counting down what is left of the column and the page
// keeps the loop short.
class VerticalPages::Cursor {
public:
    // prolongedMark: whether the text may hold a "ー", which the loop then looks for;
    // surrogates: whether it may hold a pair, which the loop leaves to putPair.
    Cursor(VerticalPages& pages, bool prolongedMark, bool surrogates)
        : m_pages(&pages), m_prolongedMark(prolongedMark), m_surrogates(surrogates), m_rows(pages.m_rows),
          m_columns(pages.m_columns), m_rowStride(pages.m_rowStride), m_top(pages.openPage(0)), m_cell(m_top),
          m_rowsLeft(m_rows), m_columnsLeft(m_columns) {}

    std::size_t position() const {
        return (m_page * m_columns + m_columns - m_columnsLeft) * m_rows + m_rows - m_rowsLeft;
    }

    void put(char16_t c) {
        *m_cell = c;
        m_cell += m_rowStride;
        if (--m_rowsLeft == 0)
            nextColumn();
    }
    // The cell takes the first half; the second goes in after it once the pages are done.
    void putPair(char16_t high, char16_t low) {
        m_pages->m_pairEnds.push_back({static_cast<std::size_t>(m_cell - m_pages->m_out.data()), low});
        put(high);
    }
    // The hot loop of a layout: its state in locals, one store per character. Kana and CJK
    // ("ー" upright), CR LF, ASCII in full width: the same as the column flow's plain forms.
    const char16_t* takePlain(const char16_t* p, const char16_t* const end, const char16_t* const ascii, bool& wrote) {
        if (m_surrogates) // rare: every unit goes the careful way
            return p;
        // When the text ends in a unit the loop stops at (and no CR), only a line break can
        // bring it to the end, and a CR always has a unit after it.
        const bool stopsBeforeEnd = columnflow::plainForm(end[-1], ascii) == 0 && end[-1] != u'\r';
        if (m_prolongedMark)
            return stopsBeforeEnd ? takePlain<true, true>(p, end, ascii, wrote)
                                  : takePlain<false, true>(p, end, ascii, wrote);
        return stopsBeforeEnd ? takePlain<true, false>(p, end, ascii, wrote)
                              : takePlain<false, false>(p, end, ascii, wrote);
    }
    static bool isLineBreak(const char16_t* at) {
        // Both units in one comparison.
        constexpr char16_t units[2] = {u'\r', u'\n'};
        std::uint32_t pair, lineBreak;
        std::memcpy(&pair, at, sizeof pair);
        std::memcpy(&lineBreak, units, sizeof lineBreak);
        return pair == lineBreak;
    }
    template <bool StopsBeforeEnd, bool ProlongedMark>
    const char16_t* takePlain(const char16_t* p, const char16_t* const end, const char16_t* const ascii, bool& wrote) {
        char16_t* const start = m_cell;
        char16_t* cell = m_cell;
        std::size_t rowsLeft = m_rowsLeft;
        const std::size_t rows = m_rows, stride = m_rowStride;
        const auto nextColumn = [&] {
            m_cell = cell;
            m_rowsLeft = rowsLeft;
            this->nextColumn();
            cell = m_cell;
            rowsLeft = m_rowsLeft;
        };
        const char16_t* const last = end - 1; // the unit after a CR can always be read before it
        while (StopsBeforeEnd || p < last) {
            const char16_t c = *p;
            char16_t form;
            // Laid out for runs of kana and CJK ended by line breaks: the fewer jumps taken,
            // the faster the loop goes.
            if (static_cast<char16_t>(c - 0x3000) < 0xCF00) [[likely]] {
                form = ProlongedMark && c == u'ー' ? u'｜' : c;
            } else if (c == u'\r') [[likely]] {
                if (!isLineBreak(p)) [[unlikely]]
                    break;
                p += 2;
                if (rowsLeft != rows) [[likely]]
                    nextColumn();
                if (StopsBeforeEnd && p == end) [[unlikely]]
                    break;
                continue;
            } else if (c >= 0x80 || (form = ascii[c]) == 0) {
                break;
            }
            *cell = form;
            cell += stride;
            ++p;
            if (--rowsLeft == 0) [[unlikely]]
                nextColumn();
        }
        m_cell = cell;
        m_rowsLeft = rowsLeft;
        wrote = cell != start;
        return p;
    }
    void skip(std::size_t count) {
        while (count-- > 0) {
            m_cell += m_rowStride;
            if (--m_rowsLeft == 0)
                nextColumn();
        }
    }
    bool endColumn() {
        if (m_rowsLeft == m_rows)
            return false;
        nextColumn();
        return true;
    }
    void unput() {
        const std::size_t position = this->position() - 1;
        m_page = position / (m_rows * m_columns);
        m_columnsLeft = m_columns - position / m_rows % m_columns;
        m_rowsLeft = m_rows - position % m_rows;
        m_cell = m_pages->cell(position);
        m_top = m_cell - (m_rows - m_rowsLeft) * m_rowStride;
        *m_cell = Filler;
    }

private:
    void nextColumn() {
        m_rowsLeft = m_rows;
        if (--m_columnsLeft == 0) [[unlikely]] {
            m_columnsLeft = m_columns;
            m_top = ++m_page < m_pages->m_readyPages ? m_pages->pageTop(m_page) : m_pages->openPage(m_page);
            m_cell = m_top;
        } else {
            m_cell = --m_top;
        }
    }

    VerticalPages* m_pages;
    bool m_prolongedMark, m_surrogates;
    std::size_t m_rows, m_columns, m_rowStride;
    char16_t* m_top;  // the current column's first cell
    char16_t* m_cell; // the current cell
    std::size_t m_rowsLeft, m_columnsLeft, m_page = 0;
};

VerticalPages::VerticalPages(std::u16string_view body, ScreenSize screen, bool rowBreaks)
    : m_columns(static_cast<std::size_t>(screen.columns)), m_rows(static_cast<std::size_t>(screen.rows)),
      m_pageSize(m_columns * m_rows), m_rowStride(m_columns + (rowBreaks ? 2 : 0)),
      m_separator(2 * dashesFor(m_columns) + NextPageMark.size() + (rowBreaks ? 2 : 0)),
      m_pageStride(m_rows * m_rowStride + m_separator) {
    // Blank pages are added several at a time: one page of a small screen is little to copy.
    const std::size_t dashes = dashesFor(m_columns);
    const std::size_t batch = std::max<std::size_t>(1, 2048 / m_pageStride);
    m_blank.append(dashes, u'-');
    m_blank += NextPageMark;
    m_blank.append(dashes, u'-');
    const std::u16string_view lineEnd = rowBreaks ? u"\r\n" : u"";
    m_blank += lineEnd;
    for (std::size_t row = 0; row < m_rows; ++row) {
        m_blank.append(m_columns, Filler);
        m_blank += lineEnd;
    }
    m_blank.reserve(batch * m_pageStride);
    while (m_blank.size() < batch * m_pageStride)
        m_blank.append(m_blank.data(), std::min(m_blank.size(), batch * m_pageStride - m_blank.size()));
    // Room for the most the text can need, so that the pages are written where they stay:
    // every unit one cell, a TAB three more, an LF R more at most (a CR LF fills R - 1).
    const textscan::LayoutCounts counts = textscan::countForLayout(body);
    const std::size_t most = body.size() + std::max<std::size_t>(3, m_rows) * counts.tabsAndLineFeeds;
    m_out.reserve((most / m_pageSize + 1 + batch) * m_pageStride);
    m_length = columnflow::flow(body, Cursor(*this, counts.prolongedMark, counts.surrogates)).position();
}

// The first cell of a page, adding blank pages (each with the separator before it) when it
// has none yet.
char16_t* VerticalPages::openPage(std::size_t page) {
    while (page >= m_readyPages) {
        m_out.append(m_readyPages > 0 ? std::u16string_view(m_blank)
                                      : std::u16string_view(m_blank).substr(m_separator));
        m_readyPages += m_blank.size() / m_pageStride;
    }
    return pageTop(page);
}

char16_t* VerticalPages::cell(std::size_t position) {
    const std::size_t page = position / m_pageSize, column = position / m_rows % m_columns;
    return m_out.data() + page * m_pageStride + (m_columns - 1 - column) + position % m_rows * m_rowStride;
}

std::u16string VerticalPages::text(std::size_t limit) {
    const std::size_t kept = std::min(m_length, limit);
    const std::size_t pages = std::max<std::size_t>(1, (kept + m_pageSize - 1) / m_pageSize);
    // Cells of the kept pages beyond the cut go back to fillers.
    for (std::size_t position = kept; position < std::min(m_length, pages * m_pageSize); ++position)
        *cell(position) = Filler;
    m_out.resize(pages * m_pageStride - m_separator);
    if (!m_pairEnds.empty())
        return withPairEnds();
    // Lines that filled nothing (or a cut) can leave much more room than text.
    if (m_out.capacity() > 2 * m_out.size() + 4096)
        m_out.shrink_to_fit();
    return std::move(m_out);
}

// Each character outside the BMP whole in its cell: the second half after the first.
std::u16string VerticalPages::withPairEnds() {
    std::sort(m_pairEnds.begin(), m_pairEnds.end(),
              [](const PairEnd& a, const PairEnd& b) { return a.offset < b.offset; });
    std::u16string out;
    out.reserve(m_out.size() + m_pairEnds.size());
    std::size_t from = 0;
    for (const PairEnd& end : m_pairEnds) {
        // A cell cut back to a filler, or beyond the pages kept, holds no pair any more.
        if (end.offset >= m_out.size() || m_out[end.offset] < 0xD800 || m_out[end.offset] >= 0xDC00)
            continue;
        out.append(m_out, from, end.offset + 1 - from);
        out += end.low;
        from = end.offset + 1;
    }
    out.append(m_out, from, std::u16string::npos);
    return out;
}

} // namespace core
