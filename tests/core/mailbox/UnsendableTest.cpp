// What the phone's code page cannot carry, as the send command sees it.
#include "MailboxFixture.h"

namespace {

using core::Answer;
using core::Buttons;

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
    prompts.question(u"削除？", u"送信しました。編集内容を破棄しますか？", Buttons::YesNo, Answer::No)
        .question(u"ｱﾄﾞﾚｽ登録", u"このｱﾄﾞﾚｽを登録しますか？", Buttons::YesNo, Answer::No);
    editor.send(); // no problem line: the body holds what the phone takes
    prompts.verify();
    EXPECT_EQ(test::count(outbox(), "\r\n\r\n\x81\x60\x81\x60\r\n.\r\n"), 1u);
}

} // namespace
