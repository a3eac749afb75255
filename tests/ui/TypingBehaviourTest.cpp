// Typing into the real window with the editor's text handling behind it. These tests run once
// the text commands are in the build, and skip before.
#include "WindowTest.h"

#include <QLabel>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace test {
namespace {

class TypingTest : public WindowTest {
protected:
    void SetUp() override {
        if (!textCommandsPresent())
            GTEST_SKIP() << "needs the text commands";
    }
};

TEST_F(TypingTest, TypingUpdatesTheCountAndThePreview) {
    start();
    ui::MainWindow& win = w();
    win.Text1->setFocus();
    type(win.Text1, QStringLiteral("あいう"));
    type(win.Text1, QStringLiteral("abc"));
    EXPECT_EQ(win.Label1->text(), QStringLiteral("4.5文字 (6)"));
    type(win.Text1, QStringLiteral("\n"));
    EXPECT_EQ(win.Label1->text(), QStringLiteral("5.5文字 (8)"));
    EXPECT_EQ(shownPreview(), s().Text1.text);
    EXPECT_EQ(s().Text1.tag, u"1");
    key(win.Text1, Qt::Key_Backspace);
    key(win.Text1, Qt::Key_Backspace);
    EXPECT_EQ(shownPreview(), u"あいうab");
    EXPECT_EQ(win.Label1->text(), QStringLiteral("4.0文字 (5)"));
}

TEST_F(TypingTest, CtrlDigitInsertsTheEmojiAtTheCaret) {
    programFile("Emoji.code", u"\uE63E\thare\r\n\uE63F\tkumori\r\n");
    start();
    ui::MainWindow& win = w();
    win.Text1->setFocus();
    type(win.Text1, QStringLiteral("ab"));
    key(win.Text1, Qt::Key_Left);
    key(win.Text1, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(s().Text1.text, u"a\uE63Fb");
    EXPECT_EQ(shownBody(), s().Text1.text);
    key(win.Text1, Qt::Key_0, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(s().Text1.text, u"a\uE63F\uE63Eb");
    key(win.Text1, Qt::Key_5, Qt::ControlModifier); // no such entry: nothing
    EXPECT_EQ(s().Text1.text, u"a\uE63F\uE63Eb");
    type(win.Text1, QStringLiteral("c"));
    EXPECT_EQ(s().Text1.text, u"a\uE63F\uE63Ecb"); // the caret followed the insertions
}

TEST_F(TypingTest, TheFifteenthCharacterOfTheTitleWarns) {
    start();
    ui::MainWindow& win = w();
    type(win.Text2, QStringLiteral("一二三四五六七八九十一二三四"));
    prompts.verify(); // 14 characters: nothing
    prompts.message(std::u16string(core::AppTitle), u"15文字以上は、危険です。");
    type(win.Text2, QStringLiteral("五"));
    prompts.verify();
    EXPECT_EQ(s().Text2.text, u"一二三四五六七八九十一二三四五");
}

TEST_F(TypingTest, OverTheLimitTheExcessIsCutWhileTyping) {
    programFile("Kotori.ini", u"Sei6=1\\11\r\nSei7=1\r\n");
    start();
    ui::MainWindow& win = w();
    win.Text1->setFocus();
    type(win.Text1, QStringLiteral("一二三四五六七八九十"));
    prompts.verify();
    // The twelfth character passes the limit of eleven; the cut happens while the box is
    // still announcing the keystroke, and the box follows once it is over.
    type(win.Text1, QStringLiteral("一"));
    prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::Yes);
    type(win.Text1, QStringLiteral("二"));
    prompts.verify();
    QTest::qWait(1);
    EXPECT_EQ(s().Text1.text, u"一二三四五六七八九十");
    EXPECT_EQ(shownBody(), s().Text1.text);
    EXPECT_TRUE(win.Label5->isHidden());
}

TEST_F(TypingTest, TickingTheVerticalPreviewFillsThePreviewWithTheLayout) {
    start();
    ui::MainWindow& win = w();
    editor->setBody(u"たてがき");
    win.refresh();
    QTest::mouseClick(win.Check3, Qt::LeftButton);
    EXPECT_TRUE(s().Check3.checked);
    if (s().Text3.text == s().Text1.text)
        GTEST_SKIP() << "needs the vertical layout";
    EXPECT_EQ(shownPreview(), s().Text3.text);
    EXPECT_FALSE(win.Command5->isEnabled());
    QTest::mouseClick(win.Check3, Qt::LeftButton);
    EXPECT_EQ(shownPreview(), u"たてがき");
}

} // namespace
} // namespace test
