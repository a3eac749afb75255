#include "core/mailbox/Signature.h"

#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "core/vertical/PreviewRows.h"
#include "platform/Cp932.h"

namespace core {

namespace mailbox {

std::u16string expandSignature(std::u16string_view stored) {
    return replaceAll(stored, u"\\n", u"\r\n");
}

void setSignatureOn(Editor& e, bool on) {
    e.s.signatureOn = on;
    e.markExcess(); // the signature's room moves the limit
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
    std::u16string image;
    appendRows(image, s.Text1.text, 2 * screenColumns());
    if (s.signatureOn && !SignatureText.empty())
        image += u"\r\n" + mailbox::expandSignature(SignatureText);
    setPreviewText(image);
    s.Text3.selStart = static_cast<int>(image.size());
    s.Text3.selLength = 0;
    view().refresh();
}

} // namespace core
