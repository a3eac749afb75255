#include "core/vertical/VerticalLayout.h"

#include "core/vertical/ColumnFlow.h"

#include <algorithm>

namespace core {

namespace {

// The prepared text itself, one character after another.
class FlatColumns {
public:
    explicit FlatColumns(std::size_t rows) : m_rows(rows) {}
    void put(char16_t c) {
        text += c;
        if (++m_row == m_rows)
            m_row = 0;
    }
    void putPair(char16_t high, char16_t low) {
        text += high;
        put(low);
    }
    const char16_t* takePlain(const char16_t* p, const char16_t*, const char16_t*, bool&) { return p; }
    void skip(std::size_t count) {
        while (count-- > 0)
            put(Filler);
    }
    bool endColumn() {
        if (m_row == 0)
            return false;
        text.append(m_rows - m_row, Filler);
        m_row = 0;
        return true;
    }
    void unput() {
        text.pop_back();
        m_row = (m_row == 0 ? m_rows : m_row) - 1;
    }
    std::u16string text;

private:
    std::size_t m_rows, m_row = 0;
};

} // namespace

std::u16string prepareColumns(std::u16string_view body, int rows) {
    return columnflow::flow(body, FlatColumns(static_cast<std::size_t>(std::max(rows, 1)))).text;
}

int verticalBudget(ScreenSize screen) {
    const int perScreen = screen.columns * screen.rows + screen.columns;
    if (perScreen <= 0)
        return 0;
    return MailCharacters / perScreen * screen.columns * screen.rows;
}

} // namespace core
