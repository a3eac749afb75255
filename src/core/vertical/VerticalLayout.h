#pragma once

#include "core/addressbook/ModelList.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

// Laying a mail out in vertical columns for a phone screen: pure text functions.
namespace core {

inline constexpr char16_t Filler = u'\u3000';
inline constexpr std::u16string_view NextPageMark = u"次のページ";
inline constexpr int MailCharacters = 250;

// Full width, each TAB as four fillers, each line break filled up to the foot of its column,
// and "ー" as "｜": the text whose characters go one by one into the columns. rows >= 1.
std::u16string prepareColumns(std::u16string_view body, int rows);

// The same in a buffer that is never cleared before it is written (this runs on every
// keystroke while the vertical preview is on, on texts of any size).
class ColumnText {
public:
    ColumnText(std::u16string_view body, int rows);
    ~ColumnText();
    ColumnText(const ColumnText&) = delete;
    ColumnText& operator=(const ColumnText&) = delete;
    std::u16string_view view() const { return {m_data.get(), m_size}; }
    void truncate(std::size_t size) { m_size = std::min(m_size, size); }

private:
    void reserve(std::size_t capacity);
    std::unique_ptr<char16_t[]> m_data;
    std::size_t m_size = 0, m_capacity = 0;
};

// Characters that whole screens can carry within the mail limit, each screen also spending a
// row on its separator.
int verticalBudget(ScreenSize screen);

// (C - 5) "-", "次のページ", (C - 5) "-": one phone row, the dashes being half width.
std::u16string separatorRow(int columns);

// The prepared text as pages of rows, the first column on the right, with a separator row
// between pages; CR LF after every row and separator when rowBreaks. rows >= 1, and a text
// longer than one page needs columns >= 5.
std::u16string layOutPages(std::u16string_view text, ScreenSize screen, bool rowBreaks);

} // namespace core
