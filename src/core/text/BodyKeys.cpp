// Keys in the body box and emoji insertion from the menu.
#include "core/app/Editor.h"

namespace core {

namespace {

// A key action that fails must not keep the next one from running.
template <typename F> void guarded(F&& action) {
    try {
        action();
    } catch (...) {
    }
}

} // namespace

bool Editor::bodyKeyPress(const BodyKey& key) {
    m_overflowAnswered = false; // a new key: its own questions
    bool ctrlAlone = key.ctrl && !key.shift && !key.alt;
    if (key.kind == BodyKey::Enter && !ctrlAlone)
        return enterPressed(); // unless the editor broke the line itself, the key goes on to do it
    if (!ctrlAlone)
        return false;
    switch (key.kind) {
    case BodyKey::LetterA:
        s.Text1.selStart = 0;
        s.Text1.selLength = static_cast<int>(s.Text1.text.size());
        return true;
    case BodyKey::LetterS:
        if (!s.Text1.text.empty())
            view().setClipboardText(s.Text1.text);
        return true;
    case BodyKey::Enter:
        send();
        return true;
    case BodyKey::Digit:
        if (key.digit >= 0 && key.digit < static_cast<int>(s.PutChar.size()))
            insertEmoji(key.digit);
        return true;
    case BodyKey::Other:
        break;
    }
    return false;
}

bool Editor::enterPressed() {
    // What the user had selected: the only text a line break may replace.
    const int caret = s.Text1.selStart, chosen = s.Text1.selLength;
    guarded([&] {
        if (s.Aouttikan.checked)
            ReplacePending = true;
    });
    bool kept = false;
    guarded([&] {
        if (s.Check1[8].checked) {
            countRun();
        } else if (s.Check1[7].checked && s.Check1[6].checked) {
            const Overflow answer = checkOverflow();
            kept = answer == Overflow::Kept;
            // The line break this key puts in next is part of what was just answered.
            m_overflowAnswered = answer != Overflow::Within;
        }
    });
    if (!kept)
        return false;
    // The excess the user chose to keep is selected now, and the key would replace it: the
    // break goes where the caret was, and the excess is shown selected again.
    replaceBody(caret, chosen, u"\r\n");
    const Excess e = measureExcess();
    if (s.Text1.selLength == 0 && e.count > e.limit)
        selectExcess(e);
    m_overflowAnswered = false;
    return true;
}

bool Editor::bodyKeyRelease() {
    if (!ReplacePending)
        return false;
    guarded([&] { runAutoReplace(); });
    ReplacePending = false;
    guarded([&] {
        if (s.Frame3.visible && !s.Check3.checked)
            sendImage();
    });
    return true;
}

void Editor::insertEmoji(int n) {
    if (n < 0 || n >= static_cast<int>(s.PutChar.size()))
        return;
    MenuItem& item = s.PutChar[static_cast<std::size_t>(n)];
    // Without an emoji table the menu holds only its "なし" placeholder, which is no emoji.
    if (item.caption.empty() || item.caption == u"なし")
        return;
    std::size_t units = item.caption[0] >= 0xD800 && item.caption[0] < 0xDC00 && item.caption.size() > 1 ? 2 : 1;
    std::u16string emoji = item.caption.substr(0, units);
    replaceBody(s.Text1.selStart, s.Text1.selLength, emoji);
    s.usedEmoji += emoji;
}

} // namespace core
