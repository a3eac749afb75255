// Text in the forms the phone's code page carries: loaded from a file, and checked when sending.
#include "MailboxFixture.h"

namespace {

class UnsendableTest : public test::MailboxTest {};

TEST_F(UnsendableTest, ProblemLineNamesEachCharacterOnce) {
    editor.titleChanged(u"\U0001F60A");
    editor.setBody(u"\U0002000B a \U0001F60A\U0002000B \u2600");
    EXPECT_EQ(editor.s.Text1.text, u"\U0002000B a \U0001F60A\U0002000B \uE63E");
    prompts.question(u"ほんとに？",
                     u"\uE63Eの絵文字が使われています。文字化けを起こす可能性があります。\r\n"
                     u"・送信できない文字があります：\U0001F60A\U0002000B（?になります）\r\n"
                     u"\r\n本当に送信してもいいんですか？",
                     Buttons::OkCancel, Answer::Cancel);
    editor.send();
    prompts.verify();
    EXPECT_EQ(outbox(), "");
}

TEST_F(UnsendableTest, WaveDashIsSentAsItsCodePageForm) {
    editor.setBody(u"\u301C\u301C");
    EXPECT_EQ(editor.s.Label1.caption, u"2.0文字 (2)");
    editor.s.IOutNO.checked = true;
    expectDiscard(Answer::No);
    expectRegister(Answer::No);
    editor.send(); // no problem line: the body holds what the phone takes
    prompts.verify();
    EXPECT_EQ(test::count(outbox(), "\r\n\r\n\x81\x60\x81\x60\r\n.\r\n"), 1u);
}

TEST_F(UnsendableTest, Utf8FileIsLoadedAndRewritten) {
    // 〜 − ‖ — ‾ ☀ keycap-1 in UTF-8, as an editor outside Windows saves them.
    tmp.write("utf8.txt", "\xE3\x80\x9C\xE2\x88\x92\xE2\x80\x96\xE2\x80\x94\xE2\x80\xBE\xE2\x98\x80"
                          "1\xEF\xB8\x8F\xE2\x83\xA3\n\xF0\xA0\x80\x8B");
    editor.loadTextFile(tmp.core() + u"\\utf8.txt");
    EXPECT_EQ(editor.s.Text1.text, u"\uFF5E\uFF0D\u2225\u2015\uFFE3\uE63E\uE6E2\r\n\U0002000B");
    EXPECT_EQ(editor.s.usedEmoji, u"\uE63E\uE6E2");
    // Its signature alone tells a file of ASCII is UTF-8, and it is no part of the text.
    tmp.write("signed.txt", "\xEF\xBB\xBFmail\r\n");
    editor.loadTextFile(tmp.core() + u"\\signed.txt");
    EXPECT_EQ(editor.s.Text1.text, u"mail\r\n");
}

} // namespace
