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

} // namespace
} // namespace test
