// The i-mode setting, the vertical preview box and the title warning.
#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "core/text/PhoneText.h"

#include <algorithm>

namespace core {

void Editor::setImode(bool checked) {
    if (s.Check2.checked == checked)
        return;
    s.Check2.checked = checked;
    if (checked) {
        SavedLimitBoxes.clear();
        SavedLimitBoxes += s.Check1[6].checked ? u'1' : u'0';
        SavedLimitBoxes += s.Check1[7].checked ? u'1' : u'0';
        s.presetLimit = 250;
        setOptionBox(6, true);
        setOptionBox(7, true);
    } else if (SavedLimitBoxes.size() == 2) {
        setOptionBox(6, SavedLimitBoxes[0] == u'1');
        setOptionBox(7, SavedLimitBoxes[1] == u'1');
    }
    s.Combo2.visible = checked;
    s.Aouttikan.checked = checked;
    s.Command3.enabled = checked;
    s.Command7.enabled = checked;
    s.Command4[0].enabled = checked;
    s.Command4[1].enabled = checked;
    s.MnuWindow.enabled = checked;
    s.imenu.enabled = checked;
    s.Command5.enabled = checked && !s.Check3.checked;
    if (!checked && s.Frame3.visible) {
        s.Frame3.visible = false;
        relayout();
    }
    rebuildStatusLine();
}

void Editor::setVerticalPreview(bool checked) {
    if (s.Check3.checked == checked)
        return;
    s.Check3.checked = checked;
    s.Command5.enabled = s.Check2.checked && !checked;
    if (checked)
        convertToVertical(0);
    else
        setPreviewText(s.Text1.text);
}

void Editor::titleChanged(std::u16string_view text) {
    // A single-line box: a pasted line break becomes a space.
    s.Text2.text = oneLine(text);
    if (s.Text2.text != text) {
        // The caret stays after what stood before it, a CR LF there now one space.
        const auto caret = static_cast<std::size_t>(std::clamp(s.Text2.selStart, 0, static_cast<int>(text.size())));
        s.Text2.selStart = static_cast<int>(oneLine(text.substr(0, caret)).size());
        s.Text2.selLength = 0;
    }
    if (toPhoneLine(s.Text2.text, s.Text2.selStart, true))
        s.Text2.selLength = 0;
    // From the 15th character on, the title is marked as its warning tells.
    const int size = static_cast<int>(s.Text2.text.size());
    s.Text2.markStart = size >= 15 ? 14 : 0;
    s.Text2.markEnd = size >= 15 ? size : 0;
    if (s.Text2.text.size() > 14)
        prompts().message(AppTitle, u"15文字以上は、危険です。", Icon::Exclamation);
}

} // namespace core
