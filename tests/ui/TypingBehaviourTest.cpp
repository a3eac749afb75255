// Typing into the real window with the editor's text handling behind it.
#include "WindowTest.h"

#include "platform/Cp932.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace test {
namespace {

class TypingTest : public WindowTest {};

// Every line of the preview box shows on one line of the box: nothing wrapped, nothing cut.
void expectWholeRows(QPlainTextEdit* preview) {
    QApplication::processEvents();
    EXPECT_EQ(preview->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(preview->horizontalScrollBar()->maximum(), 0);
    const QFontMetricsF metrics(preview->font());
    for (QTextBlock b = preview->document()->begin(); b.isValid(); b = b.next())
        EXPECT_LE(metrics.horizontalAdvance(b.text()), preview->viewport()->width()) << b.text().toStdString();
}

TEST_F(TypingTest, ThePreviewShowsThePhonesRowsTypedAndPasted) {
    start();
    ui::MainWindow& win = w();
    win.Combo3->setCurrentIndex(0); // P501i: eight columns
    win.Text1->setFocus();
    type(win.Text1, QStringLiteral("あいうえおかきくけこさしすせそ"));
    EXPECT_EQ(shownPreview(), u"あいうえおかきく\r\nけこさしすせそ");
    expectWholeRows(win.Text3);

    // Another model, and a pasted text at a larger font: the rows follow the model, never the box.
    s().Text3.fontSize = 14;
    win.Combo3->setCurrentIndex(1); // N501i: ten columns
    QApplication::clipboard()->setText(QStringLiteral("abcdefghijklmnopqrstuvwxyzアイウエオ"));
    win.Text1->paste();
    QApplication::processEvents();
    const std::u16string rows = u"あいうえおかきくけこ\r\nさしすせそabcdefghij\r\nklmnopqrstuvwxyzアイ\r\nウエオ";
    EXPECT_EQ(shownPreview(), rows);
    expectWholeRows(win.Text3);
    // The send image shows the same rows.
    QTest::mouseClick(win.Command5, Qt::LeftButton);
    EXPECT_EQ(shownPreview(), rows);
}

// A question about a pasted text comes over the body showing it: what the box shows at the
// question is what it shows once the paste is over.
TEST_F(TypingTest, APastesQuestionComesOverThePastedText) {
    programFile("Kotori.ini", u"Sei6=1\\20\r\nSei7=1\r\n");
    start();
    ui::MainWindow& win = w();
    win.Text1->setFocus();
    win.Text1->setCursorWidth(0); // no caret to blink between the two pictures
    QImage atQuestion;
    prompts.onPrompt = [&] { atQuestion = win.Text1->viewport()->grab().toImage(); };
    prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::No);
    QApplication::clipboard()->setText(QString(60, QChar(0x3042)));
    win.Text1->paste();
    QTest::qWait(5);
    prompts.verify();
    QTextCursor caret = win.Text1->textCursor();
    caret.clearSelection();
    win.Text1->setTextCursor(caret);
    QTest::qWait(5);
    EXPECT_EQ(atQuestion, win.Text1->viewport()->grab().toImage());
}

// The cut of a paste past the limit is a step of its own: one undo brings back what it took.
TEST_F(TypingTest, OneUndoBringsBackWhatTheCutTook) {
    programFile("Kotori.ini", u"Sei6=1\\20\r\nSei7=1\r\n");
    start();
    ui::MainWindow& win = w();
    win.Text1->setFocus();
    const auto cut = [&](core::Answer answer) {
        prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, answer);
    };
    cut(core::Answer::Yes);
    const QString pasted(30, QChar(0x3042));
    QApplication::clipboard()->setText(pasted);
    win.Text1->paste();
    QTest::qWait(5);
    prompts.verify();
    EXPECT_EQ(win.Text1->toPlainText(), pasted.left(19));
    cut(core::Answer::No); // the whole paste is back, past the limit again
    key(win.Text1, Qt::Key_Z, Qt::ControlModifier);
    QTest::qWait(5);
    prompts.verify();
    EXPECT_EQ(win.Text1->toPlainText(), pasted);
    EXPECT_EQ(shownBody(), s().Text1.text);
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

    // Enter in the middle asks once (not again for its line break); the break goes at the caret.
    key(win.Text1, Qt::Key_Home);
    for (int i = 0; i < 5; ++i)
        key(win.Text1, Qt::Key_Right);
    no();
    key(win.Text1, Qt::Key_Return);
    prompts.verify();
    QTest::qWait(1);
    EXPECT_EQ(shownBody(), u"一二三四五\r\n六七八九十一二");
    EXPECT_EQ(s().Text1.text, shownBody());
    EXPECT_EQ(win.Text1->textCursor().selectedText(), QStringLiteral("一二")); // the break counts too
}

} // namespace
} // namespace test
