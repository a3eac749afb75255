#include "MailboxFixture.h"

namespace {

class CommandsTest : public test::MailboxTest {
protected:
    void SetUp() override {
        test::MailboxTest::SetUp();
        editor.loadModelList(); // the first model: eight columns
        editor.s.Combo3.listIndex = 0;
        editor.modelSelected(0);
    }
    // "Attach a signature?", then, when given, "keep the stored one?", then the input box.
    void askSignature(Answer attach, Answer keep, std::u16string preset, std::u16string entered) {
        prompts.question(u"署名", u"署名をつけますか？", Buttons::YesNo, attach);
        if (keep != Answer::Cancel)
            prompts.question(u"署名変更確認", u"書名は、「" + editor.SignatureText + u"」でよろしいですか？",
                             Buttons::YesNo, keep);
        if (keep != Answer::Yes && !preset.empty())
            prompts.input(u"署名を記入してください。改行は、\\nで表現してください。", u"署名保存", preset, entered);
    }
};

} // namespace

TEST_F(CommandsTest, SignatureQuestions) {
    // A two-line answer is kept escaped and shown expanded.
    askSignature(Answer::Yes, Answer::Cancel, u"名無しの権兵衛", u"太郎\\n090-1234");
    prompts.message(App, u"太郎\r\n090-1234を署名として保存します。");
    editor.signatureButton();
    EXPECT_EQ(editor.SignatureText, u"太郎\\n090-1234");
    EXPECT_EQ(editor.s.Label3[1].caption, u"・署名追加：ON");
    EXPECT_TRUE(editor.s.signatureOn);

    // Rejecting the stored one offers it as the default; cancelling keeps it.
    askSignature(Answer::Yes, Answer::No, u"太郎\\n090-1234", u"");
    prompts.message(App, u"キャンセルされました。");
    editor.signatureButton();
    EXPECT_EQ(editor.SignatureText, u"太郎\\n090-1234");

    // No with a stored signature asks nothing more.
    askSignature(Answer::No, Answer::Cancel, u"", u"");
    editor.signatureButton();
    EXPECT_EQ(editor.s.Label3[1].caption, u"・署名追加：OFF");
    EXPECT_FALSE(editor.s.signatureOn);

    // A one-line signature stays one line in the send image.
    askSignature(Answer::Yes, Answer::No, u"太郎\\n090-1234", u"taro");
    prompts.message(App, u"taroを署名として保存します。");
    editor.signatureButton();
    editor.s.Text1.text = u"hi";
    editor.sendImage();
    EXPECT_EQ(editor.s.Text3.text, u"hi\r\ntaro");
}

TEST_F(CommandsTest, SendImageWrapsAtScreenWidth) {
    // Eight columns: sixteen half-width positions a row.
    editor.s.Text1.text = u"あいうえおかきくけこ";
    editor.sendImage();
    EXPECT_EQ(editor.s.Text3.text, u"あいうえおかきく\r\nけこ");

    // A full-width character that would stick out moves to the next row.
    editor.s.Text1.text = u"aあいうえおかきくx";
    editor.sendImage();
    EXPECT_EQ(editor.s.Text3.text, u"aあいうえおかき\r\nくx");

    // Line breaks restart the row; the signature is added unwrapped.
    editor.s.Text1.text = u"abcdefghijklmno\r\nabcdefghijklmnopq";
    editor.s.signatureOn = true;
    editor.SignatureText = u"0123456789abcdefghij\\nline2";
    editor.sendImage();
    EXPECT_EQ(editor.s.Text3.text, u"abcdefghijklmno\r\nabcdefghijklmnop\r\nq\r\n0123456789abcdefghij\r\nline2");
    EXPECT_EQ(editor.s.Text3.selStart, static_cast<int>(editor.s.Text3.text.size()));
}

TEST_F(CommandsTest, CopyAndNewMail) {
    view.clipboard = u"before";
    editor.s.Text2.text.clear();
    editor.copyDisp(1); // an empty title is not copied
    EXPECT_EQ(view.clipboard, u"before");
    editor.copyDisp(2);
    EXPECT_EQ(view.clipboard, u"a\r\nb");

    editor.s.Text2.text = u"t";
    editor.s.usedEmoji = u"\uE63E";
    editor.s.modified = true;
    editor.newMail();
    EXPECT_EQ(editor.s.Text1.text + editor.s.Text2.text + editor.s.usedEmoji, u"");
    EXPECT_FALSE(editor.s.modified);
    EXPECT_EQ(editor.s.Combo1.text, u"x@docomo.ne.jp");
}

TEST_F(CommandsTest, LoadTextFile) {
    tmp.write("big.txt", std::string(64001, 'a'));
    prompts.message(u"ごめんなさい", u"すんまそん64K以上のファイルには、対応してまへんねん");
    editor.loadTextFile(tmp.core() + u"\\big.txt");
    tmp.write("empty.txt", "");
    editor.loadTextFile(tmp.core() + u"\\empty.txt");
    EXPECT_EQ(editor.s.Text1.text, u"a\r\nb");

    tmp.write("max.txt", std::string(63996, 'a') + "\nb\rc");
    editor.loadTextFile(tmp.core() + u"\\max.txt");
    EXPECT_EQ(editor.s.Text1.text, std::u16string(63996, u'a') + u"\r\nb\r\nc");
}
