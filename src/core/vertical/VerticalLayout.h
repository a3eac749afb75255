#pragma once

#include "core/addressbook/ModelList.h"

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

// Characters that whole screens can carry within the mail limit, each screen also spending a
// row on its separator.
int verticalBudget(ScreenSize screen);

} // namespace core
