// Typing into the real window with the editor's text handling behind it.
#include "WindowTest.h"

#include "platform/Cp932.h"

#include <QLabel>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace test {
namespace {

class TypingTest : public WindowTest {};

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
    key(win.Text1, Qt::Key_Backspace);
    key(win.Text1, Qt::Key_Backspace);
    EXPECT_EQ(shownPreview(), u"あいうab");
    EXPECT_EQ(win.Label1->text(), QStringLiteral("4.0文字 (5)"));
    // The preview's caret follows the body's once typing pauses.
    key(win.Text1, Qt::Key_Home);
    type(win.Text1, QStringLiteral("x"));
    QTest::qWait(150);
    EXPECT_EQ(win.Text3->textCursor().position(), 1);
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
    key(win.Text1, Qt::Key_0, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(s().Text1.text, u"a\uE63F\uE63Eb");
    type(win.Text1, QStringLiteral("c"));
    EXPECT_EQ(s().Text1.text, u"a\uE63F\uE63Ecb"); // the caret followed the insertions
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
    EXPECT_EQ(win.Text1->textCursor().position(), 10); // the caret at the end of the cut body
}

TEST_F(TypingTest, KeepingTheExcessShowsItSelectedAndEnterDeletesNothing) {
    programFile("Kotori.ini", u"Sei6=1\\11\r\nSei7=1\r\n");
    start();
    ui::MainWindow& win = w();
    win.Text1->setFocus();
    type(win.Text1, QStringLiteral("一二三四五六七八九十一"));
    // The question comes over the box as it is after the keystroke, banner included.
    QString shownAtQuestion;
    bool bannerAtQuestion = false;
    prompts.onPrompt = [&] {
        win.showBeforeQuestion();
        shownAtQuestion = win.Text1->toPlainText();
        bannerAtQuestion = win.Label5->isVisible();
    };
    const auto no = [&] {
        prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::No);
    };
    no();
    type(win.Text1, QStringLiteral("二"));
    prompts.verify();
    EXPECT_EQ(shownAtQuestion, QStringLiteral("一二三四五六七八九十一二"));
    EXPECT_TRUE(bannerAtQuestion);
    QTest::qWait(1);
    EXPECT_EQ(win.Text1->textCursor().selectedText(), QStringLiteral("二")); // the excess, selected

    // Enter in the middle asks (by the key, then by its line break); the break goes at the caret.
    key(win.Text1, Qt::Key_Home);
    for (int i = 0; i < 5; ++i)
        key(win.Text1, Qt::Key_Right);
    no();
    no();
    key(win.Text1, Qt::Key_Return);
    prompts.verify();
    QTest::qWait(1);
    EXPECT_EQ(shownBody(), u"一二三四五\r\n六七八九十一二");
    EXPECT_EQ(s().Text1.text, shownBody());
    EXPECT_EQ(win.Text1->textCursor().selectedText(), QStringLiteral("一二")); // the break counts too
}

TEST_F(TypingTest, TheKeptExcessShowsWhileTheChangeIsStillHandled) {
    programFile("Kotori.ini", u"Sei6=1\\200\r\nSei7=1\r\n");
    start();
    ui::MainWindow& win = w();
    const std::u16string full(216, u'漢'); // three pages of the first model: its vertical budget
    prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::No);
    editor->setBody(full);
    prompts.verify();
    QTest::mouseClick(win.Check3, Qt::LeftButton);
    win.Text1->setFocus();
    key(win.Text1, Qt::Key_End);
    // The limit question, then the preview's budget question: by then the excess shows.
    QString highlighted;
    prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::No);
    prompts.question(u"文字数オーバー", u"1文字オーバーになるので、削除してもよろしいですか？", core::Buttons::YesNo,
                     core::Answer::No);
    prompts.onPrompt = [&] {
        win.showBeforeQuestion();
        auto marks = win.Text1->extraSelections();
        highlighted = marks.isEmpty() ? QString() : marks.front().cursor.selectedText();
    };
    type(win.Text1, QStringLiteral("字"));
    prompts.verify();
    EXPECT_EQ(highlighted, QString(16, u'漢') + QStringLiteral("字"));
    QTest::qWait(1);
    EXPECT_EQ(win.Text1->textCursor().selectedText(), highlighted);
    EXPECT_TRUE(win.Text1->extraSelections().isEmpty());
}

TEST_F(TypingTest, ConversionsAndSelectAllWorkOnTheBoxAndUndoAsOneStep) {
    start();
    ui::MainWindow& win = w();
    win.activateWindow();
    win.Text1->setFocus();
    type(win.Text1, QStringLiteral("一\n二\n三"));
    win.nuki[0]->trigger(); // 改行抜き
    EXPECT_EQ(shownBody(), u"一二三");
    EXPECT_EQ(shownPreview(), u"一二三");
    key(win.Text1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(s().Text1.text, u"一\r\n二\r\n三");
    EXPECT_EQ(win.Label1->text(), QStringLiteral("5.0文字 (7)"));

    key(win.Text1, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(win.Text1->textCursor().selectedText().size(), 5);
    EXPECT_EQ(s().Text1.selLength, 7);

    // Ctrl+M is the menu's shortcut, not a key of the box; its conversions undo as one step.
    editor->setBody(u"(→ ａ)");
    win.refresh();
    key(win.Text1, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(shownBody(), u">a");
    key(win.Text1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(s().Text1.text, u"(→ ａ)");
    EXPECT_EQ(shownBody(), s().Text1.text);
}

TEST_F(TypingTest, CtrlEnterSendsAndTheMailboxHoldsTheRecord) {
    programFile("Kotori.ini", u"IONO=True\r\nIPUT=True\r\n"); // no confirmation, a new page after sending
    start();
    ui::MainWindow& win = w();
    type(win.Combo1->lineEdit(), QStringLiteral("friend"));
    type(win.Text2, QStringLiteral("件名"));
    win.Text1->setFocus();
    type(win.Text1, QStringLiteral("本文です\n二行目"));
    prompts.question(u"ｱﾄﾞﾚｽ登録", u"このｱﾄﾞﾚｽを登録しますか？", core::Buttons::YesNo, core::Answer::No);
    key(win.Text1, Qt::Key_Return, Qt::ControlModifier);
    prompts.verify();
    std::string outbox = folder.read("becky/User1/OutBox.mbx");
    EXPECT_NE(outbox.find(platform::encodeCp932(u"本文です\r\n二行目\r\n")), std::string::npos) << outbox;
    EXPECT_TRUE(folder.exists("OutPutLog.mbx"));
    // The window shows the new page, and Ctrl+Enter broke no line.
    EXPECT_EQ(shownBody(), u"");
    EXPECT_EQ(win.Text2->text(), QString());
}

TEST_F(TypingTest, ImodeVerticalModeAndPreviewButtonsReachTheEditor) {
    start();
    ui::MainWindow& win = w();
    QTest::mouseClick(win.Check2, Qt::LeftButton);
    EXPECT_TRUE(s().Check2.checked && win.Command3->isEnabled() && win.Check1[6]->isChecked());
    prompts.question(u"縦書きﾓｰﾄﾞON？", u"縦書きで、i-modeメールを送信しますか？", core::Buttons::YesNo,
                     core::Answer::No);
    QTest::mouseClick(win.Command7, Qt::LeftButton);
    prompts.verify();
    // The preview button hides the preview and the body takes its room.
    int narrow = win.Text1->width();
    QTest::mouseClick(win.Command4[0], Qt::LeftButton);
    EXPECT_TRUE(win.Frame3->isHidden());
    EXPECT_GT(win.Text1->width(), narrow);
}

} // namespace
} // namespace test
