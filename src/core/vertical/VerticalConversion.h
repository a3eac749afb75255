#pragma once

#include "core/addressbook/ModelList.h"
#include "core/app/Prompts.h"

#include <string>
#include <utility>
#include <vector>
#include <string_view>

namespace core {

// 0: preview, 1: send layout (no row breaks), 2: text view. The preview and the text view end
// every row with CR LF: a box shows each row on a line of its own, whatever its font.
enum class VerticalMode { Preview = 0, Send = 1, TextView = 2 };

struct VerticalResult {
    enum Outcome {
        Converted,   // text holds the layout
        Declined,    // the over-budget question was answered No in text-view mode
        CannotLayOut // the screen has no rows, or is too narrow for a separator row
    } outcome = Converted;
    std::u16string text;
};

// The whole forward conversion, asking the over-budget question through prompts.
VerticalResult toVertical(std::u16string_view body, ScreenSize screen, VerticalMode mode, Prompts& prompts);

// The ranges of a vertical preview (`shown`, the layout of `body` for the screen) that hold the
// body's characters from `from` on: each cell one range. The body is laid out again with those
// characters as markers, which the layout moves as it moves them. Empty when `shown` is not
// that layout.
std::vector<std::pair<std::size_t, std::size_t>> cellsFrom(std::u16string_view body, std::size_t from,
                                                           ScreenSize screen, std::u16string_view shown);

inline constexpr std::u16string_view OverBudgetTitle = u"文字数オーバー";
inline constexpr std::u16string_view OverBudgetText = u"文字オーバーになるので、削除してもよろしいですか？";
inline constexpr std::u16string_view CannotLayOutText = u"選択されている機種の画面サイズでは、縦書きにできません。";

} // namespace core
