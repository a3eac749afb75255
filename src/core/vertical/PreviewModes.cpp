// The vertical sending switch and the preview area's window-menu commands.
#include "core/app/Editor.h"

namespace core {

namespace {

constexpr std::u16string_view Notice =
    u"1.縦書きは、文字数を多く使用するので、横書きの場合より、文字数制限がきつくなります。\r\n"
    u"2.半角文字は、使えません。半角文字は、全角文字に自動で調整されますがプレビューが\r\n"
    u"　おかしくなった場合は、半角部分を全角にしてみてください。\r\n"
    u"3.署名機能は、横書き専用の為使用できませんので、手動でお書きください。\r\n"
    u"\r\n"
    u"※もう１度クリックすると、横書きモードになります。";

} // namespace

void Editor::verticalModeButton() {
    if (!s.verticalMode) {
        if (prompts().question(u"縦書きﾓｰﾄﾞON？", u"縦書きで、i-modeメールを送信しますか？", Buttons::YesNo,
                               Icon::Question) != Answer::Yes)
            return;
        s.Command7.red = true;
        s.verticalMode = true;
        view().refresh();
        setVerticalPreview(true);
        prompts().message(u"諸注意", Notice, Icon::Information);
    } else {
        prompts().message(u"横書きモード チェンジ", u"通常の横書きモードに戻します。", Icon::Information);
        setVerticalPreview(false);
        s.Command7.red = false;
        s.verticalMode = false;
    }
    view().refresh();
}

void Editor::previewAreaToggle() {
    s.Frame3.visible = !s.Frame3.visible;
    relayout();
    view().refresh();
}

void Editor::viewPre(int i) {
    // The window menu follows the preview button, which the i-mode setting enables.
    if (!s.Command4[0].enabled)
        return;
    switch (i) {
    case 0:
        previewAreaToggle();
        break;
    case 1:
        s.List1.visible = !s.List1.visible;
        relayout();
        view().refresh();
        break;
    case 2:
        frameClicked();
        break;
    default:
        break;
    }
}

} // namespace core
