#pragma once

#include "core/addressbook/ModelList.h"
#include "core/app/Prompts.h"

#include <string>
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

inline constexpr std::u16string_view OverBudgetTitle = u"文字数オーバー";
inline constexpr std::u16string_view OverBudgetText = u"文字オーバーになるので、削除してもよろしいですか？";
inline constexpr std::u16string_view CannotLayOutText = u"選択されている機種の画面サイズでは、縦書きにできません。";

} // namespace core
