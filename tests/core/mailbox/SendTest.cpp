#include "MailboxFixture.h"

#include "core/vertical/PreviewRows.h"
#include "core/vertical/VerticalConversion.h"

#include "support/TestRegistry.h"

namespace fs = std::filesystem;

namespace {

const std::u16string Retry2 = u"BECKYが送受信処理中です。送信できません。2度目の送信を試みますか？。";
const std::u16string Lost = u"BECKYの位置がつかめません、再設定を試みます。";

class SendTest : public test::MailboxTest {
protected:
    void expectAfterSend(Answer discard, Answer registerAddress) {
        expectDiscard(discard);
        if (registerAddress != Answer::Cancel)
            expectRegister(registerAddress);
    }
    void retry(std::u16string text, Answer a) { prompts.question(u"再送信確認", std::move(text), Buttons::YesNo, a); }
};

} // namespace

TEST_F(SendTest, ProblemsAskedAndCancelKeepsEditor) {
    editor.s.Combo1.text = editor.s.Text2.text = editor.s.Text1.text = u"";
    prompts.question(u"ほんとに？",
                     u"・宛先が未記入です。\r\n・タイトルが未記入です。(全角15文字以内)\r\n"
                     u"・内容が未記入です。（全角250文字以内）\r\n\r\n本当に送信してもいいんですか？",
                     Buttons::OkCancel, Answer::Cancel);
    editor.send();
    prompts.verify();

    // An emoji deleted from the body is forgotten; with a signature the body is put back as it was.
    editor.s.Combo1.text = u"x@docomo.ne.jp";
    editor.s.Text1.text = u"hello\uE63F";
    editor.s.usedEmoji = u"\uE63E\uE63F";
    editor.s.signatureOn = true;
    editor.SignatureText = u"sig";
    prompts.question(u"ほんとに？",
                     u"・タイトルが未記入です。(全角15文字以内)\r\n\uE63Fの絵文字が使われています。"
                     u"文字化けを起こす可能性があります。\r\n\r\n本当に送信してもいいんですか？",
                     Buttons::OkCancel, Answer::Cancel);
    editor.send();
    EXPECT_EQ(editor.s.usedEmoji, u"\uE63F");
    EXPECT_EQ(editor.s.Text1.text, u"hello\uE63F");
    EXPECT_FALSE(editor.s.sendBusy);
    EXPECT_FALSE(tmp.exists("Becky!/User1/OutBox.mbx") || tmp.exists("OutPutLog.mbx"));
}

TEST_F(SendTest, SentRecordLogAndAddressRegistration) {
    editor.s.usedEmoji = u"\uE63E"; // no longer in the body: no warning
    editor.s.signatureOn = true;
    editor.SignatureText = u"taro\\n090";
    editor.s.Command6.enabled = false;
    tmp.write("addr.adr", "old@docomo.ne.jp\r\n");
    expectConfirmed(u"a\r\nb\r\ntaro\r\n090");
    expectAfterSend(Answer::No, Answer::Yes);
    editor.send();

    EXPECT_EQ(outbox(), onDisk(u"a\r\nb\r\ntaro\r\n090"));
    EXPECT_EQ(editor.s.Text1.text, u"a\r\nb"); // the box shows the mail without the signature
    EXPECT_FALSE(editor.s.modified || editor.s.sendBusy);
    EXPECT_NE(
        log().find("Status:RW\r\nX-Date:2026/12/06 9:05:03\r\nX-ViewMode:YOKO\r\n\r\na\r\nb\r\ntaro\r\n090\r\n.\r\n"),
        std::string::npos);
    EXPECT_EQ(tmp.read("addr.adr"), "old@docomo.ne.jp\r\nx@docomo.ne.jp\r\n");
    EXPECT_EQ(editor.s.Combo1.items.size(), 1u);
    EXPECT_TRUE(editor.s.Command6.enabled); // the book exists now

    // The next record follows the first directly; a known address is not offered again.
    editor.s.signatureOn = false;
    expectConfirmed();
    expectAfterSend(Answer::Yes, Answer::Cancel);
    editor.send();
    EXPECT_EQ(outbox(), onDisk(u"a\r\nb\r\ntaro\r\n090") + onDisk(u"a\r\nb"));
    EXPECT_EQ(test::count(log(), "X-Date:"), 2u);
    EXPECT_EQ(editor.s.Text1.text + editor.s.Text2.text + editor.s.usedEmoji, u"");
    EXPECT_EQ(editor.s.Combo1.text, u"x@docomo.ne.jp");
}

TEST_F(SendTest, OptionsVerticalModeAndBcc) {
    editor.s.IOutNO.checked = editor.s.IOutput.checked = editor.s.IOutEnd.checked = editor.s.OutBcc.checked = true;
    editor.s.Combo1.items = {{u"x@docomo.ne.jp", 0}};
    editor.s.verticalMode = true;
    editor.s.signatureOn = true;
    editor.SignatureText = u"SIGNATURE";
    prompts.question(u"終了します？", u"終了しますか？", Buttons::YesNo, Answer::Yes);
    editor.send();
    for (const std::string& file : {outbox(), log()})
        EXPECT_NE(file.find("To:x@docomo.ne.jp\r\nBcc:main@example.jp\r\nSubject:abc\r\n"), std::string::npos);
    EXPECT_NE(log().find("X-ViewMode:TATE\r\n"), std::string::npos);
    EXPECT_EQ(outbox().find("SIGNATURE"), std::string::npos);
    EXPECT_EQ(editor.s.Text1.text, u"");
    EXPECT_TRUE(view.closeAsked);
}

// A vertical body goes out as one run the phone breaks into rows; the question shows those rows.
TEST_F(SendTest, TheQuestionShowsAVerticalBodyInThePhonesRows) {
    editor.loadModelList();
    editor.modelSelected(0); // P501i: eight columns of nine rows
    editor.s.verticalMode = true;
    editor.s.Text1.text = std::u16string(20, u'あ');
    test::ScriptedPrompts layout;
    const std::u16string sent = core::toVertical(editor.s.Text1.text, {8, 9}, core::VerticalMode::Send, layout).text;
    ASSERT_EQ(sent.find(u'\n'), std::u16string::npos); // one run
    std::u16string rows;
    core::appendRows(rows, sent, 16);
    expectConfirmed(rows);
    expectDiscard(core::Answer::Yes);
    expectRegister(core::Answer::No);
    editor.send();
    prompts.verify();
    EXPECT_NE(outbox().find(platform::encodeCp932(sent)), std::string::npos); // the record itself is as it was
}

TEST_F(SendTest, FolderGoneFindsBeckyAgain) {
    // The registry names the fixture's Becky! folder; the editor still points at an old one.
    test::TestRegistry reg(tmp.winePrefix());
    reg.setString(u"Software\\RIMArts\\Rebecca\\Settings", u"HomeDir", tmp.core() + u"\\Becky!\\");
    reg.setString(u"Software\\RIMArts\\Rebecca\\Users\\0", u"Account", u"main");
    reg.setString(u"Software\\RIMArts\\Rebecca\\Users\\0", u"Address", u"main@example.jp");
    reg.setBinary(u"Software\\RIMArts\\Rebecca\\Users\\0", u"MailDirNo", std::string("\x07\0\0\0", 4));
    fs::create_directories(tmp.path() / "Becky!/User7"); // the account's folder there has another number
    editor.BeckyPath = tmp.core() + u"\\gone\\";
    expectConfirmed();
    retry(Retry2, Answer::Yes);
    retry(Lost, Answer::No); // tries the same place again
    retry(u"BECKYが送受信処理中です。送信できません。3度目の送信を試みますか？。", Answer::Yes);
    retry(Lost, Answer::Yes);
    retry(u"設定を変更しました。再送信なさいますか？", Answer::Yes);
    prompts.message(App, u"送信が完了した後は、念の為、ことり便を再起動してください。");
    expectAfterSend(Answer::No, Answer::No);
    editor.send();
    EXPECT_EQ(editor.BeckyPath, tmp.core() + u"\\Becky!\\");
    EXPECT_EQ(tmp.read("Becky!/User7/OutBox.mbx"), onDisk(u"a\r\nb"));
}

// Becky! holding its outbox for good: the mail stays on screen, unsent, and the user is told.
TEST_F(SendTest, AnOutboxThatTakesNothingKeepsTheMailAndSaysSo) {
    fs::create_directories(tmp.path() / "Becky!/User1/OutBox.mbx"); // no file can be appended there
    expectConfirmed();
    retry(Retry2, Answer::No);
    prompts.message(App, u"BECKYが送受信処理中か、ことり便の設定内容のERRです。書き込みできません。再度送信ください。");
    editor.send();
    prompts.verify();
    EXPECT_EQ(editor.s.Text1.text, u"a\r\nb");
    EXPECT_FALSE(tmp.exists("OutPutLog.mbx") || editor.s.sendBusy);
}

TEST_F(SendTest, DraftMode) {
    const std::u16string saved = u"mainアカウントの草稿に保存しました。編集を終了し、ことり便を閉じますか？ \r\n"
                                 u"※BECKYを起動していた場合は、BECKYを再起動してください。";
    prompts.question(u"終了？", saved, Buttons::YesNo, Answer::No);
    editor.saveDraft();
    EXPECT_EQ(tmp.read("Becky!/User1/OutBox/Draft.mbx"), onDisk(u"a\r\nb"));
    EXPECT_FALSE(tmp.exists("Becky!/User1/OutBox.mbx") || tmp.exists("OutPutLog.mbx"));
    EXPECT_FALSE(editor.s.sendBusy || editor.s.draftMode || view.closeAsked);
}

TEST_F(SendTest, PluginHandOffAndBeckyTwoOutbox) {
    editor.Becky2InUse = true;
    editor.s.Combo2.items = {{u"plugin", 200}};
    tmp.write("kotori.dat", "an older hand-off\r\n.\r\n");
    editor.send(); // no confirmation for the plug-in
    EXPECT_EQ(tmp.read("kotori.dat"), onDisk(u"a\r\nb"));
    EXPECT_TRUE(view.quitCalled);
    EXPECT_FALSE(tmp.exists("OutPutLog.mbx"));

    editor.s.Combo2.items = {{u"Becky2", 112}};
    editor.BeckyPath = tmp.core() + u"\\b2\\x.mb\\Outbox\\m.bmf";
    tmp.write("b2/x.mb/Outbox/Folder.idx", "index");
    prompts.question(u"送信OK?",
                     u"下記の内容でよろしいですか？\r\n" + std::u16string(41, u'-') + u"\r\n" + recordOf(u"a\r\nb"),
                     Buttons::YesNo, Answer::No);
    editor.send();
    EXPECT_FALSE(tmp.exists("b2/x.mb/Outbox/Folder.idx")); // removed even for a cancelled send

    tmp.write("b2/x.mb/Outbox/Folder.idx", "index");
    expectConfirmed();
    expectAfterSend(Answer::No, Answer::No);
    editor.send();
    EXPECT_FALSE(tmp.exists("b2/x.mb/Outbox/Folder.idx"));
    EXPECT_EQ(tmp.read("b2/x.mb/Outbox/m.bmf"), onDisk(u"a\r\nb"));
}

// A re-discovery that lands on Becky! 2's outbox drops its index before the retried append, and
// counts the attempts afresh.
TEST_F(SendTest, RediscoveryOntoTheBecky2OutboxStartsAfresh) {
    test::TestRegistry reg(tmp.winePrefix());
    reg.setString(u"Software\\RIMArts\\B2\\Settings", u"DataDir", tmp.core() + u"\\Becky2\\");
    const fs::path outbox = tmp.path() / "Becky2/Main.mb/!!!!Outbox";
    tmp.write("Becky2/Main.mb/!!!!Outbox/0001.bmf", "old\r\n");
    tmp.write("Becky2/Main.mb/!!!!Outbox/Folder.idx", "index");
    fs::permissions(outbox / "0001.bmf", fs::perms::owner_read); // refused once after the re-discovery
    editor.BeckyPath = tmp.core() + u"\\gone\\";
    editor.s.Combo2.items = {{u"main", 112}};

    expectConfirmed();
    retry(Retry2, Answer::Yes);
    retry(Lost, Answer::Yes);
    prompts.question(u"Ver.2.0無理矢理対応", u"Becky Ver.2.0がインストールされています。暫定対応しますか？",
                     Buttons::YesNo, Answer::Yes);
    prompts.question(u"***@docomo.ne.jpがいいよ。", u"使用するi-mode用のメールアドレスは、[]でよろしいですか？",
                     Buttons::YesNo, Answer::Yes);
    prompts.message(u"暫定対応！", u"Becky2に暫定対応しました。");
    bool indexGoneBeforeRetry = false;
    prompts.onQuestion[u"設定を変更しました"] = [&] { indexGoneBeforeRetry = !fs::exists(outbox / "Folder.idx"); };
    retry(u"設定を変更しました。再送信なさいますか？", Answer::Yes);
    prompts.message(App, u"送信が完了した後は、念の為、ことり便を再起動してください。");
    int asked = 0;
    prompts.onQuestion[Retry2] = [&] {
        if (++asked == 2)
            fs::permissions(outbox / "0001.bmf", fs::perms::owner_write, fs::perm_options::add);
    };
    retry(Retry2, Answer::Yes); // the count starts again at 2
    expectAfterSend(Answer::No, Answer::No);
    editor.send();
    prompts.verify();
    EXPECT_TRUE(indexGoneBeforeRetry);
    EXPECT_EQ(editor.BeckyPath, tmp.core() + u"\\Becky2\\Main.mb\\!!!!Outbox\\0001.bmf");
    EXPECT_EQ(tmp.read("Becky2/Main.mb/!!!!Outbox/0001.bmf"), "old\r\n" + onDisk(u"a\r\nb"));
}
