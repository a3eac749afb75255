#pragma once

#include "core/addressbook/ModelList.h"

#include <optional>
#include <string>
#include <string_view>

namespace core {

// The screen a vertical layout was made for, from its first separator row: C = dashes after
// "次のページ" + 5, R = characters before the separator (its dashes and line breaks not
// counted) over C, rounded half to even. nullopt when the text holds no separator.
std::optional<ScreenSize> screenOfLayout(std::u16string_view text);

// Reads a vertical layout back into horizontal text, column by column from the right. The
// screen comes from the first separator row, else from the given model. nullopt when that
// screen has no rows or no columns.
std::optional<std::u16string> toHorizontal(std::u16string_view text, ScreenSize model);

inline constexpr std::u16string_view CannotReadBackText = u"選択されている機種の画面サイズでは、横書きに戻せません。";

} // namespace core
