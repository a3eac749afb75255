#include "core/mailbox/Signature.h"

#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "platform/Cp932.h"

namespace core {

namespace mailbox {

std::u16string expandSignature(std::u16string_view stored) {
    return replaceAll(stored, u"\\n", u"\r\n");
}

void setSignatureOn(Editor& e, bool on) {
    e.s.signatureOn = on;
    Control& label = e.s.Label3[1];
    label.caption = label.caption.substr(0, 6) + (on ? u"ON" : u"OFF");
    e.layoutStatusBar();
    e.view().refresh();
}

} // namespace mailbox

void Editor::signatureButton() {
    std::u16string remembered;
    if (prompts().question(u"署名", u"署名をつけますか？", Buttons::YesNo) == Answer::Yes) {
        mailbox::setSignatureOn(*this, true);
        if (!SignatureText.empty()) {
            remembered = SignatureText;
            if (prompts().question(u"署名変更確認", u"書名は、「" + SignatureText + u"」でよろしいですか？",
                                   Buttons::YesNo) != Answer::Yes)
                SignatureText.clear();
        }
    } else {
        mailbox::setSignatureOn(*this, false);
    }
    if (!SignatureText.empty())
        return;
    const std::u16string preset = remembered.empty() ? std::u16string(u"名無しの権兵衛") : remembered;
    std::u16string answer =
        prompts().input(u"署名を記入してください。改行は、\\nで表現してください。", u"署名保存", preset);
    if (answer.empty()) {
        SignatureText = preset;
        prompts().message(AppTitle, u"キャンセルされました。");
        return;
    }
    SignatureText = answer;
    prompts().message(AppTitle, mailbox::expandSignature(answer) + u"を署名として保存します。");
}

void Editor::sendImage() {
    const int width = 2 * screenColumns();
    const std::u16string& body = s.Text1.text;
    std::u16string image;
    int position = 0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        // A surrogate pair is one character; each half takes one position as its '?' substitute.
        std::size_t units = 1;
        if (body[i] >= 0xD800 && body[i] < 0xDC00 && i + 1 < body.size() && body[i + 1] >= 0xDC00 &&
            body[i + 1] < 0xE000)
            units = 2;
        std::u16string_view ch(body.data() + i, units);
        i += units - 1;
        image += ch;
        if (ch[0] == u'\n') {
            position = 0;
        } else if (ch[0] != u'\r') {
            position += units == 2 ? 2 : (platform::isSingleByte(ch[0]) ? 1 : 2);
            if (position == width) {
                image += u"\r\n";
                position = 0;
            } else if (position == width + 1) {
                // A two-position character that does not fit moves to the next row.
                image.resize(image.size() - units);
                image += u"\r\n";
                image += ch;
                position = 2;
            }
        }
    }
    if (s.signatureOn && !SignatureText.empty())
        image += u"\r\n" + mailbox::expandSignature(SignatureText);
    setPreviewText(image);
    s.Text3.selStart = static_cast<int>(image.size());
    s.Text3.selLength = 0;
    view().refresh();
}

} // namespace core
