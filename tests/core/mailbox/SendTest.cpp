#include "MailboxFixture.h"

#include "platform/Cp932.h"
#include "platform/Paths.h"

#include <fstream>

using core::Answer;
using core::Buttons;
using test::confirmation;
using test::recordOf;

namespace {

const std::u16string Me = u"me@docomo.ne.jp";
const std::u16string Retry2 = u"BECKYが送受信処理中です。送信できません。2度目の送信を試みますか？。";
const std::u16string Failed =
    u"BECKYが送受信処理中か、ことり便の設定内容のERRです。書き込みできません。再度送信ください。";

std::string onDisk(std::u16string_view record) {
    return platform::encodeCp932(record) + "\r\n";
}

class SendTest : public test::MailboxTest {
protected:
    void expectConfirmed(std::u16string_view body = u"a\r\nb") {
        prompts.question(u"送信OK?", confirmation(recordOf(Me, body)), Buttons::YesNo, Answer::Yes)
            .message(test::App, test::SendNotice);
    }
    void expectAfterSend(Answer discard, Answer registerAddress) {
        prompts.question(u"削除？", u"送信しました。編集内容を破棄しますか？", Buttons::YesNo, discard)
            .question(u"ｱﾄﾞﾚｽ登録", u"このｱﾄﾞﾚｽを登録しますか？", Buttons::YesNo, registerAddress);
    }
};

} // namespace

TEST_F(SendTest, ProblemsAskedAndCancelKeepsEditor) {
    editor.s.Combo1.text.clear();
    editor.s.Text2.text.clear();
    editor.s.Text1.text.clear();
    prompts.question(u"ほんとに？",
                     u"・宛先が未記入です。\r\n・タイトルが未記入です。(全角15文字以内)\r\n"
                     u"・内容が未記入です。（全角250文字以内）\r\n\r\n本当に送信してもいいんですか？",
                     Buttons::OkCancel, Answer::Cancel);
    editor.send();
    prompts.verify();
    EXPECT_EQ(editor.s.Text1.text, u"");
    EXPECT_EQ(editor.s.Command3.tag, u"0");

    // With a signature the cancelled send puts the body back as it was.
    editor.s.Combo1.text = u"x@docomo.ne.jp";
    editor.s.Text1.text = u"hello";
    editor.s.Label3[1].tag = u"1";
    editor.SignatureText = u"sig";
    prompts.question(u"ほんとに？", u"・タイトルが未記入です。(全角15文字以内)\r\n\r\n本当に送信してもいいんですか？",
                     Buttons::OkCancel, Answer::Cancel);
    editor.send();
    EXPECT_EQ(editor.s.Text1.text, u"hello");
    EXPECT_EQ(editor.s.Text1.tag, u"0");
    EXPECT_FALSE(tmp.exists("Becky!/User1/OutBox.mbx"));
    EXPECT_FALSE(tmp.exists("OutPutLog.mbx"));
}

TEST_F(SendTest, EmojiNoLongerInBodyAreForgotten) {
    editor.s.PutChar[0].tag = u"\uE63E\uE63F";
    editor.s.Text1.text = u"a\uE63F";
    prompts.question(
        u"ほんとに？",
        u"\uE63Fの絵文字が使われています。文字化けを起こす可能性があります。\r\n\r\n本当に送信してもいいんですか？",
        Buttons::OkCancel, Answer::Cancel);
    editor.send();
    EXPECT_EQ(editor.s.PutChar[0].tag, u"\uE63F");

    editor.s.Text1.text = u"a\r\nb"; // the last emoji deleted: no warning at all
    expectConfirmed();
    expectAfterSend(Answer::No, Answer::No);
    editor.send();
    EXPECT_EQ(editor.s.PutChar[0].tag, u"");
}

TEST_F(SendTest, SentRecordLogAndAddressRegistration) {
    editor.s.Label3[1].tag = u"1";
    editor.SignatureText = u"taro\\n090";
    editor.s.Command6.enabled = false;
    tmp.write("addr.adr", "old@docomo.ne.jp\r\n");
    expectConfirmed(u"a\r\nb\r\ntaro\r\n090");
    expectAfterSend(Answer::No, Answer::Yes);
    editor.send();

    EXPECT_EQ(outbox(), onDisk(recordOf(Me, u"a\r\nb\r\ntaro\r\n090")));
    EXPECT_EQ(editor.s.Text1.text, u"a\r\nb"); // the box shows the mail as written, without the signature
    EXPECT_EQ(editor.s.Text1.tag, u"0");
    EXPECT_EQ(editor.s.Command3.tag, u"0");
    EXPECT_NE(
        log().find("Status:RW\r\nX-Date:2026/12/06 9:05:03\r\nX-ViewMode:YOKO\r\n\r\na\r\nb\r\ntaro\r\n090\r\n.\r\n"),
        std::string::npos);
    EXPECT_EQ(tmp.read("addr.adr"), "old@docomo.ne.jp\r\nx@docomo.ne.jp\r\n");
    ASSERT_EQ(editor.s.Combo1.items.size(), 1u);
    EXPECT_EQ(editor.s.Combo1.items[0].text, u"x@docomo.ne.jp");
    EXPECT_TRUE(editor.s.Command6.enabled);

    // A second send appends right after the first record; a known address is not offered again.
    expectConfirmed();
    prompts.question(u"削除？", u"送信しました。編集内容を破棄しますか？", Buttons::YesNo, Answer::Yes);
    editor.s.Label3[1].tag = u"0";
    editor.send();
    EXPECT_EQ(outbox(), onDisk(recordOf(Me, u"a\r\nb\r\ntaro\r\n090")) + onDisk(recordOf(Me, u"a\r\nb")));
    EXPECT_EQ(test::count(log(), "X-Date:"), 2u);
    EXPECT_EQ(editor.s.Text1.text, u"");
    EXPECT_EQ(editor.s.Text2.text, u"");
    EXPECT_EQ(editor.s.Combo1.text, u"x@docomo.ne.jp");
}

TEST_F(SendTest, OptionsSkipQuestionsAndAddBcc) {
    editor.s.IOutNO.checked = editor.s.IOutput.checked = editor.s.IOutEnd.checked = editor.s.OutBcc.checked = true;
    editor.s.Combo1.items = {{u"x@docomo.ne.jp", 0}};
    prompts.question(u"終了します？", u"終了しますか？", Buttons::YesNo, Answer::Yes);
    editor.send();
    EXPECT_NE(outbox().find("To:x@docomo.ne.jp\r\nBcc:main@example.jp\r\nSubject:abc\r\n"), std::string::npos);
    EXPECT_NE(log().find("To:x@docomo.ne.jp\r\nBcc:main@example.jp\r\nSubject:abc\r\n"), std::string::npos);
    EXPECT_EQ(editor.s.Text1.text, u"");
    EXPECT_TRUE(view.closeAsked);
}

TEST_F(SendTest, VerticalModeLogsTateWithoutSignature) {
    editor.s.IOutNO.checked = true;
    editor.s.Command7.tag = u"1";
    editor.s.Label3[1].tag = u"1";
    editor.SignatureText = u"SIGNATURE";
    editor.s.Combo1.items = {{u"x@docomo.ne.jp", 0}};
    prompts.question(u"削除？", u"送信しました。編集内容を破棄しますか？", Buttons::YesNo, Answer::No);
    editor.send();
    EXPECT_NE(log().find("X-ViewMode:TATE\r\n"), std::string::npos);
    EXPECT_EQ(outbox().find("SIGNATURE"), std::string::npos);
}

TEST_F(SendTest, RetryAfterFailureWritesOnce) {
    // Becky! holding the mailbox: it cannot be opened for appending until the user retries.
    std::filesystem::create_directory(tmp.path() / "Becky!/User1/OutBox.mbx");
    prompts.onQuestion[u"BECKYが送受信処理中です"] = [&] {
        std::filesystem::remove(tmp.path() / "Becky!/User1/OutBox.mbx");
    };
    expectConfirmed();
    prompts.question(u"再送信確認", Retry2, Buttons::YesNo, Answer::Yes);
    expectAfterSend(Answer::No, Answer::No);
    editor.send();
    EXPECT_EQ(outbox(), onDisk(recordOf(Me, u"a\r\nb")));
    EXPECT_EQ(test::count(log(), "From:"), 1u);
}

TEST_F(SendTest, GivingUpLeavesMailboxAndLogAlone) {
    std::filesystem::create_directory(tmp.path() / "Becky!/User1/OutBox.mbx");
    editor.s.IOutEnd.checked = true;
    editor.s.Label3[1].tag = u"1";
    editor.SignatureText = u"sig";
    expectConfirmed(u"a\r\nb\r\nsig");
    prompts.question(u"再送信確認", Retry2, Buttons::YesNo, Answer::Yes)
        .question(u"再送信確認", u"BECKYが送受信処理中です。送信できません。3度目の送信を試みますか？。",
                  Buttons::YesNo, Answer::No)
        .message(test::App, Failed);
    editor.send();
    EXPECT_TRUE(std::filesystem::is_directory(tmp.path() / "Becky!/User1/OutBox.mbx"));
    EXPECT_FALSE(tmp.exists("OutPutLog.mbx"));
    EXPECT_EQ(editor.s.Text1.text, u"a\r\nb");
    EXPECT_EQ(editor.s.Command3.tag, u"0");
}

TEST_F(SendTest, FolderGoneAsksToFindBecky) {
    editor.BeckyPath = tmp.core() + u"\\gone\\";
    prompts.onQuestion[u"BECKYの位置"] = [&] { std::filesystem::create_directories(tmp.path() / "gone/User1"); };
    expectConfirmed();
    prompts.question(u"再送信確認", Retry2, Buttons::YesNo, Answer::Yes)
        .question(u"再送信確認", u"BECKYの位置がつかめません、再設定を試みます。", Buttons::YesNo, Answer::No);
    expectAfterSend(Answer::No, Answer::No);
    editor.send();
    EXPECT_EQ(tmp.read("gone/User1/OutBox.mbx"), onDisk(recordOf(Me, u"a\r\nb")));
}

TEST_F(SendTest, FindingBeckyAgainRecomputesTarget) {
    // A registered Becky! for the discovery to find.
    tmp.write("wine/user.reg", "WINE REGISTRY Version 2\n\n[Software\\\\RIMArts\\\\Rebecca\\\\Settings] 1\n"
                               "\"HomeDir\"=\"C:\\\\Becky!\\\\\"\n\n[Software\\\\RIMArts\\\\Rebecca\\\\Users\\\\0] 1\n"
                               "\"Account\"=\"main\"\n\"Address\"=\"main@example.jp\"\n\"MailDirNo\"=dword:00000001\n");
    std::filesystem::create_directories(tmp.winePrefix() / "drive_c/Becky!/User1");
    std::filesystem::create_directories(tmp.winePrefix() / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", tmp.winePrefix() / "dosdevices/c:");
    const std::u16string gone = tmp.core() + u"\\gone\\";
    editor.BeckyPath = gone;
    prompts.onQuestion[u"設定を変更しました"] = [&] {
        std::filesystem::create_directories(platform::nativePath(editor.BeckyPath + u"User1"));
    };
    expectConfirmed();
    prompts.question(u"再送信確認", Retry2, Buttons::YesNo, Answer::Yes)
        .question(u"再送信確認", u"BECKYの位置がつかめません、再設定を試みます。", Buttons::YesNo, Answer::Yes)
        .question(u"再送信確認", u"設定を変更しました。再送信なさいますか？", Buttons::YesNo, Answer::Yes)
        .message(test::App, u"送信が完了した後は、念の為、ことり便を再起動してください。");
    expectAfterSend(Answer::No, Answer::No);
    editor.send();
    if (editor.BeckyPath != gone) {
        EXPECT_EQ(editor.BeckyPath, u"C:\\Becky!\\");
    }
    std::ifstream in(platform::nativePath(editor.BeckyPath + u"User1\\OutBox.mbx"), std::ios::binary);
    std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, onDisk(recordOf(Me, u"a\r\nb")));
}

TEST_F(SendTest, DraftMode) {
    const std::u16string saved = u"mainアカウントの草稿に保存しました。編集を終了し、ことり便を閉じますか？ \r\n"
                                 u"※BECKYを起動していた場合は、BECKYを再起動してください。";
    prompts.question(u"終了？", saved, Buttons::YesNo, Answer::No);
    editor.saveDraft();
    EXPECT_EQ(tmp.read("Becky!/User1/OutBox/Draft.mbx"), onDisk(recordOf(Me, u"a\r\nb")));
    EXPECT_FALSE(tmp.exists("Becky!/User1/OutBox.mbx"));
    EXPECT_FALSE(tmp.exists("OutPutLog.mbx"));
    EXPECT_EQ(editor.s.Command3.tag, u"0");
    EXPECT_EQ(editor.s.TotyuuSave.tag, u"0");

    prompts.question(u"終了？", saved, Buttons::YesNo, Answer::Yes);
    editor.saveDraft();
    EXPECT_TRUE(view.closeAsked);

    std::filesystem::remove(tmp.path() / "Becky!/User1/OutBox/Draft.mbx");
    std::filesystem::create_directory(tmp.path() / "Becky!/User1/OutBox/Draft.mbx");
    prompts.question(u"再送信確認", Retry2, Buttons::YesNo, Answer::No)
        .message(test::App, u"書き込みエラーです。草稿に保存することができませんでした。再度挑戦してみてください。");
    editor.saveDraft();
}

TEST_F(SendTest, PluginHandOffHoldsOneRecordAndQuits) {
    editor.s.Combo2.items = {{u"plugin", 200}};
    tmp.write("kotori.dat", "an older hand-off\r\n.\r\n");
    editor.send();
    EXPECT_EQ(tmp.read("kotori.dat"), onDisk(recordOf(Me, u"a\r\nb")));
    EXPECT_TRUE(view.quitCalled);
    EXPECT_FALSE(view.closeAsked);
    EXPECT_FALSE(tmp.exists("OutPutLog.mbx"));
}

TEST_F(SendTest, BeckyTwoOutboxDropsFolderIndex) {
    editor.s.Combo2.items = {{u"Becky2", 112}};
    editor.BeckyPath = tmp.core() + u"\\b2\\x.mb\\Outbox\\m.bmf";
    tmp.write("b2/x.mb/Outbox/Folder.idx", "index");
    prompts.question(u"送信OK?", confirmation(recordOf(Me, u"a\r\nb")), Buttons::YesNo, Answer::No);
    editor.send();
    EXPECT_FALSE(tmp.exists("b2/x.mb/Outbox/Folder.idx")); // removed even for a cancelled send

    tmp.write("b2/x.mb/Outbox/Folder.idx", "index");
    expectConfirmed();
    expectAfterSend(Answer::No, Answer::No);
    editor.send();
    EXPECT_FALSE(tmp.exists("b2/x.mb/Outbox/Folder.idx"));
    EXPECT_EQ(tmp.read("b2/x.mb/Outbox/m.bmf"), onDisk(recordOf(Me, u"a\r\nb")));
}
