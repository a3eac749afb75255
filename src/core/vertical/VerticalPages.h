#pragma once

#include "core/addressbook/ModelList.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// A body laid out in pages while its characters are prepared: blank pages are laid down
// ahead and each character goes straight to its cell (page, row from its place in the
// column, column from the right), so the prepared text is never stored nor gathered again.
// The live preview does this on every keystroke, on texts of any size. columns >= 1, rows >= 1.
class VerticalPages {
public:
    VerticalPages(std::u16string_view body, ScreenSize screen, bool rowBreaks);
    VerticalPages(const VerticalPages&) = delete;
    VerticalPages& operator=(const VerticalPages&) = delete;

    // Characters of the prepared text.
    std::size_t length() const { return m_length; }
    // The layout of the first `limit` characters: whole pages, a separator row between them.
    // Once only: the pages are handed over.
    std::u16string text(std::size_t limit);

private:
    class Cursor;
    char16_t* openPage(std::size_t page);
    char16_t* pageTop(std::size_t page) { return m_out.data() + page * m_pageStride + m_columns - 1; }
    char16_t* cell(std::size_t position);
    std::u16string withPairEnds();

    const std::size_t m_columns, m_rows, m_pageSize;
    const std::size_t m_rowStride;  // a row and its CR LF
    const std::size_t m_separator;  // a separator row and its CR LF
    const std::size_t m_pageStride; // a page and the separator after it
    std::u16string m_blank;         // separator rows and pages of fillers
    std::u16string m_out;
    std::size_t m_readyPages = 0; // pages whose fillers and separators are written
    std::size_t m_length = 0;
    struct PairEnd {
        std::size_t offset; // of the cell holding the pair's first half
        char16_t low;
    };
    std::vector<PairEnd> m_pairEnds;
};

} // namespace core
