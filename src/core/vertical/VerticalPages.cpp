#include "core/vertical/VerticalPages.h"

#include "core/vertical/ColumnFlow.h"
#include "core/vertical/VerticalLayout.h"

#include <algorithm>
#include <utility>

namespace core {

namespace {

// The buffer of the last layout, kept for the next: a fresh large buffer costs more than
// filling it.
thread_local std::unique_ptr<char16_t[]> spareBuffer;
thread_local std::size_t spareCapacity = 0;

std::size_t dashesFor(std::size_t columns) {
    return columns > 5 ? columns - 5 : 0;
}

} // namespace

// Where the next character goes, walking down each column and then to the column on its
// left; pages are opened on the way. Counting down what is left of the column and the page
// keeps the loop short.
class VerticalPages::Cursor {
public:
    explicit Cursor(VerticalPages& pages)
        : m_pages(&pages), m_rows(pages.m_rows), m_columns(pages.m_columns), m_rowStride(pages.m_rowStride),
          m_top(pages.openPage(0)), m_cell(m_top), m_rowsLeft(m_rows), m_columnsLeft(m_columns) {}

    std::size_t position() const {
        return (m_page * m_columns + m_columns - m_columnsLeft) * m_rows + m_rows - m_rowsLeft;
    }

    void put(char16_t c) {
        *m_cell = c;
        m_cell += m_rowStride;
        if (--m_rowsLeft == 0)
            nextColumn();
    }
    // The hot loop of a layout: its state in locals, one store per character.
    const char16_t* takePlain(const char16_t* p, const char16_t* const end, const char16_t* const plain, bool& wrote) {
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
        while (p != end) {
            if (const char16_t form = plain[*p]) {
                *cell = form;
                cell += stride;
                ++p;
                if (--rowsLeft == 0)
                    nextColumn();
            } else if (*p == u'\r' && p + 1 != end && p[1] == u'\n') {
                p += 2;
                if (rowsLeft != rows)
                    nextColumn();
            } else {
                break;
            }
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
        if (--m_columnsLeft == 0) {
            m_columnsLeft = m_columns;
            m_top = m_pages->openPage(++m_page);
            m_cell = m_top;
        } else {
            m_cell = --m_top;
        }
    }

    VerticalPages* m_pages;
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
    const std::size_t dashes = dashesFor(m_columns);
    m_blank.reserve(m_pageStride);
    m_blank.append(dashes, u'-');
    m_blank += NextPageMark;
    m_blank.append(dashes, u'-');
    const std::u16string_view lineEnd = rowBreaks ? u"\r\n" : u"";
    m_blank += lineEnd;
    for (std::size_t row = 0; row < m_rows; ++row) {
        m_blank.append(m_columns, Filler);
        m_blank += lineEnd;
    }
    m_data = std::move(spareBuffer);
    m_capacity = std::exchange(spareCapacity, 0);
    m_length = columnflow::flow(body, Cursor(*this)).position();
}

VerticalPages::~VerticalPages() {
    if (m_capacity > spareCapacity) {
        spareBuffer = std::move(m_data);
        spareCapacity = m_capacity;
    }
}

// The first cell of a page, writing its fillers (and the separator before it) the first time.
char16_t* VerticalPages::openPage(std::size_t page) {
    const std::size_t end = (page + 1) * m_pageStride;
    if (end > m_capacity) {
        const std::size_t capacity = std::max(end, 2 * m_capacity);
        auto bigger = std::make_unique_for_overwrite<char16_t[]>(capacity);
        std::copy_n(m_data.get(), m_readyPages * m_pageStride, bigger.get());
        m_data = std::move(bigger);
        m_capacity = capacity;
    }
    char16_t* const start = m_data.get() + page * m_pageStride;
    if (page >= m_readyPages) {
        // The separator before the page, then its rows of fillers.
        if (page > 0)
            std::copy(m_blank.begin(), m_blank.end(), start - m_separator);
        else
            std::copy(m_blank.begin() + static_cast<std::ptrdiff_t>(m_separator), m_blank.end(), start);
        m_readyPages = page + 1;
    }
    return start + m_columns - 1;
}

char16_t* VerticalPages::cell(std::size_t position) {
    const std::size_t page = position / m_pageSize, column = position / m_rows % m_columns;
    return m_data.get() + page * m_pageStride + (m_columns - 1 - column) + position % m_rows * m_rowStride;
}

std::u16string VerticalPages::text(std::size_t limit) {
    const std::size_t kept = std::min(m_length, limit);
    const std::size_t pages = std::max<std::size_t>(1, (kept + m_pageSize - 1) / m_pageSize);
    // Cells of the kept pages beyond the cut go back to fillers.
    for (std::size_t position = kept; position < std::min(m_length, pages * m_pageSize); ++position)
        *cell(position) = Filler;
    return std::u16string(m_data.get(), pages * m_pageStride - m_separator);
}

} // namespace core
