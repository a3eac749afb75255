// The window's controls and menus running the editor's commands, end to end.
#include "WindowTest.h"

#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <QGroupBox>
#include <QMenu>
#include <QPlainTextEdit>

namespace test {
namespace {

TEST_F(WindowTest, AClickOnTheFilterFrameItselfOpensAndClosesIt) {
    start();
    ui::MainWindow& win = w();
    QTest::mouseClick(win.Frame1, Qt::LeftButton, {}, QPoint(win.Frame1->width() - 3, 8));
    EXPECT_EQ(win.Frame1->height(), 2655 / 15);
    EXPECT_TRUE(win.Check1[5]->isVisible());
    QTest::mouseClick(win.Check1[0], Qt::LeftButton); // a box inside: the frame stays open
    QTest::mouseClick(win.Frame1, Qt::LeftButton, {}, QPoint(win.Frame1->width() - 3, 8));
    EXPECT_EQ(win.Frame1->height(), 255 / 15);
}

TEST_F(WindowTest, ClosingAModifiedBodyCanBeRefusedAndExitSkipsTheCheck) {
    start();
    ui::MainWindow& win = w();
    win.Text1->setFocus();
    type(win.Text1, QStringLiteral("下書き"));
    s().modified = true; // modified, whichever way the change handling marks it
    prompts.question(u"終了確認", u"編集中の内容は、破棄されてしまいますが終了してもよろしいですか？",
                     core::Buttons::YesNo, core::Answer::No);
    win.close();
    prompts.verify();
    EXPECT_FALSE(win.ended());
    EXPECT_TRUE(win.isVisible());

    win.Mnuexit->trigger(); // ends at once: no question, no settings
    EXPECT_TRUE(win.ended());
    EXPECT_EQ(programEnds, 1);
    EXPECT_FALSE(win.isVisible());
    EXPECT_FALSE(folder.exists("Kotori.ini"));
}

TEST_F(WindowTest, WaitingKeepsTheWindowRespondingUntilDoneOrTimeout) {
    start();
    bool flag = false;
    QTimer::singleShot(30, [&] { flag = true; });
    EXPECT_TRUE(w().waitUntil([&] { return flag; }, 2000, 5));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(w().waitUntil([] { return false; }, 60, 10));
    EXPECT_GE(clock.elapsed(), 55);
    EXPECT_LT(clock.elapsed(), 1500);

    w().setClipboardText(u"本文\r\nです");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("本文\r\nです"));
    w().bringToFront();
    EXPECT_TRUE(w().isVisible());
    EXPECT_FALSE(w().isMinimized());
}

TEST_F(WindowTest, ClosingBeforeTheWindowWasEverShownEndsTheProgram) {
    // Start-up may close the window (a finished Becky! 2 set-up) before it is first shown.
    editor = std::make_unique<core::Editor>(prompts, clock, folder.core());
    window = std::make_unique<ui::MainWindow>(*editor);
    editor->setView(window.get());
    window->closeWindow();
    EXPECT_TRUE(window->ended());
    EXPECT_TRUE(folder.exists("Kotori.ini")); // the close check ran and saved
    editor->s.window.visible = true;
    window->refresh();
    EXPECT_FALSE(window->isVisible()); // an ended window is not shown again
}

} // namespace
} // namespace test
