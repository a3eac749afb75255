#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "core/addressbook/AddressBook.h"
#include "core/mailbox/MessageRecord.h"
#include "core/vertical/PreviewRows.h"
#include "core/mailbox/Retry.h"
#include "core/mailbox/Signature.h"
#include "core/text/PhoneText.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

namespace core {

namespace {

std::u16string problemList(Editor& e) {
    std::u16string problems;
    if (e.s.Combo1.text.empty())
        problems += u"・宛先が未記入です。\r\n";
    if (e.s.Text2.text.empty())
        problems += u"・タイトルが未記入です。(全角15文字以内)\r\n";
    if (e.s.Text1.text.empty())
        problems += u"・内容が未記入です。（全角250文字以内）\r\n";
    // Emoji the user deleted again will not reach the phone; forget them.
    std::u16string& used = e.s.usedEmoji;
    for (std::size_t i = 0; i < used.size();) {
        if (e.s.Text1.text.find(used[i]) == std::u16string::npos)
            used.erase(i, 1);
        else
            ++i;
    }
    if (!used.empty())
        problems += used + u"の絵文字が使われています。文字化けを起こす可能性があります。\r\n";
    std::u16string unsendable;
    addUnsendable(e.s.Text2.text, unsendable);
    addUnsendable(e.s.Text1.text, unsendable);
    if (!unsendable.empty())
        problems += u"・送信できない文字があります：" + unsendable + u"（?になります）\r\n";
    return problems;
}

void prepareBody(Editor& e) {
    if (e.s.verticalMode)
        e.convertToVertical(1);
    else if (e.s.signatureOn)
        e.setBody(e.s.Text1.text + u"\r\n" + mailbox::expandSignature(e.SignatureText));
}

mailbox::MessageFields currentMail(Editor& e) {
    mailbox::MessageFields mail;
    e.senderEntry(); // a sender naming no entry falls back to the i-mode address
    mail.sender = e.s.senderAddress();
    mail.destination = e.s.Combo1.text;
    if (e.s.OutBcc.checked)
        mail.bcc = e.s.accountOwnAddress();
    mail.title = e.s.Text2.text;
    mail.body = e.s.Text1.text;
    return mail;
}

void registerAddress(Editor& e) {
    const std::u16string& address = e.s.Combo1.text;
    if (address.empty())
        return;
    for (const ListEntry& item : e.s.Combo1.items)
        if (item.text == address)
            return;
    if (e.prompts().question(u"ｱﾄﾞﾚｽ登録", u"このｱﾄﾞﾚｽを登録しますか？", Buttons::YesNo) != Answer::Yes)
        return;
    // The list shows only what the book holds, or the address would vanish at the next start.
    const std::u16string book = e.programFile(AddressBookFile);
    if (!appendBareAddress(book, address)) {
        e.prompts().message(AppTitle, book + u"\r\nこのファイルにアドレスを登録できませんでした。", Icon::Exclamation);
        return;
    }
    e.s.Combo1.items.push_back({address, 0});
    e.s.Command6.enabled = true;
    e.view().refresh();
}

void afterSend(Editor& e, const mailbox::MessageFields& sent) {
    e.s.modified = false;
    if (e.s.IOutput.checked ||
        e.prompts().question(u"削除？", u"送信しました。編集内容を破棄しますか？", Buttons::YesNo) == Answer::Yes)
        e.newMail();
    std::u16string log = mailbox::logRecord(sent, mailbox::dateTimeText(e.clock().now()), e.s.verticalMode);
    const std::u16string logFile = e.programFile(u"OutPutLog.mbx");
    if (!platform::appendRecord(logFile, mailbox::recordBytes(log)))
        e.prompts().message(AppTitle, logFile + u"\r\nこのファイルにログを書き込めませんでした。", Icon::Exclamation);
    registerAddress(e);
}

} // namespace

void Editor::send() {
    s.sendBusy = true;
    const std::u16string savedBody = s.Text1.text;
    const bool savedModified = s.modified;
    // Puts the body the user wrote back after the signature or vertical layout was applied for the record.
    auto restoreBody = [&] {
        if (s.Text1.text != savedBody) {
            setBody(savedBody);
            s.modified = savedModified;
        }
    };
    auto stop = [&] {
        restoreBody();
        s.sendBusy = false;
        showPreviewAgain();
        view().refresh();
    };

    const bool draft = s.draftMode;
    const auto account = s.selectedAccountNo();
    if (!account) { // no account the user chose: write nowhere rather than into one they did not
        prompts().message(AppTitle, mailbox::NoAccountText, Icon::Exclamation);
        stop();
        return;
    }
    int accountNo = *account;
    std::u16string target = mailbox::targetPath(BeckyPath, accountNo, Becky2InUse, draft, programFolder());
    if (!draft && mailbox::isBecky2Outbox(accountNo, Becky2InUse))
        mailbox::removeFolderIndex(BeckyPath);

    const std::u16string problems = problemList(*this);
    prepareBody(*this);
    if (!problems.empty() && prompts().question(u"ほんとに？", problems + u"\r\n本当に送信してもいいんですか？",
                                                Buttons::OkCancel) != Answer::Ok) {
        stop();
        return;
    }

    const mailbox::MessageFields mail = currentMail(*this);
    const std::u16string record = mailbox::messageRecord(mail);
    const std::string bytes = mailbox::recordBytes(record);
    const bool handOff = !draft && mailbox::isHandOff(accountNo, Becky2InUse);

    if (!s.IOutNO.checked && !handOff && !draft) {
        // A vertical body goes out as one run that the phone breaks into its rows: it shows so.
        mailbox::MessageFields shown = mail;
        if (s.verticalMode) {
            shown.body.clear();
            appendRows(shown.body, mail.body, 2 * screenColumns());
        }
        std::u16string text = u"下記の内容でよろしいですか？\r\n" + std::u16string(41, u'-') + u"\r\n" +
                              (s.verticalMode ? mailbox::messageRecord(shown) : record);
        if (prompts().question(u"送信OK?", text, Buttons::YesNo) != Answer::Yes) {
            stop();
            return;
        }
        prompts().message(AppTitle, u"送信します。ＯＫを押した後に、BECKY側で送信手順を行ってください。");
    }

    if (handOff) {
        if (platform::replaceFile(target, bytes)) {
            view().quit();
            return;
        }
        // Quitting now would lose the mail; keep it on screen instead.
        prompts().message(
            AppTitle, u"BECKYが送受信処理中か、ことり便の設定内容のERRです。書き込みできません。再度送信ください。");
        stop();
        return;
    }

    restoreBody();
    const bool written = mailbox::writeWithRetries(*this, target, accountNo, bytes, draft);
    bool close = false;

    if (draft) {
        if (!written) {
            prompts().message(AppTitle,
                              u"書き込みエラーです。草稿に保存することができませんでした。再度挑戦してみてください。");
        } else if (prompts().question(u"終了？",
                                      s.selectedAccountName() +
                                          u"アカウントの草稿に保存しました。編集を終了し、ことり便を閉じますか？ \r\n"
                                          u"※BECKYを起動していた場合は、BECKYを再起動してください。",
                                      Buttons::YesNo, Icon::Exclamation) == Answer::Yes) {
            close = true;
        }
    } else if (!written) {
        prompts().message(
            AppTitle, u"BECKYが送受信処理中か、ことり便の設定内容のERRです。書き込みできません。再度送信ください。");
    } else {
        afterSend(*this, mail);
        close =
            s.IOutEnd.checked && prompts().question(u"終了します？", u"終了しますか？", Buttons::YesNo) == Answer::Yes;
    }
    s.sendBusy = false;
    showPreviewAgain();
    view().refresh();
    // Last: closing ends the program, and a refused close must find SendBusy already off.
    if (close)
        view().closeWindow();
}

void Editor::saveDraft() {
    s.draftMode = true;
    send();
    s.draftMode = false;
}

} // namespace core
