#include "WindowTest.h"
#include "ui/Colours.h"

#include "platform/Cp932.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <filesystem>
#include <functional>

namespace test {

// Takes the files the window hands to the desktop, in place of a viewer.
class Desktop : public QObject {
    Q_OBJECT
public:
    Desktop() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~Desktop() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

namespace {

core::MenuItem item(std::u16string caption) {
    core::MenuItem m;
    m.caption = std::move(caption);
    return m;
}

int px(int twips) {
    return (twips + 7) / 15;
}

QRect twips(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

TEST_F(WindowTest, RefreshMirrorsStateWithoutRunningBehaviour) {
    start();
    ui::MainWindow& win = w();
    // State changed behind the window's back, as a command would: the widgets follow, and the
    // editor is not asked to run the boxes' behaviour again (no question for the limit).
    s().Check1[6].checked = true;
    s().Check2.checked = true;
    s().Combo2.items = {{u"仕事", 1}, {u"私用", 3}};
    s().Combo2.listIndex = 1;
    s().List1.items = {{u"見出し", 0}, {u"一通目", 0}, {u"二通目", 0}};
    ++s().List1.revision;
    s().List1.listIndex = 2;
    s().Combo1.items = {{u"a@docomo.ne.jp", 0}, {u"b@docomo.ne.jp", 1}};
    s().Combo1.text = u"c@docomo.ne.jp";
    s().Combo2.visible = s().Command3.enabled = false;
    s().Command7.red = s().Label5.visible = true;
    s().Label5.caption = u"250文字を1文字オーバー。制限数に達しました。";
    s().Text1.rect = {0, 1560, 4500, 2000};
    s().PutChar = {item(u"\uE63E   =   晴れ"), item(u"\uE63F   =   曇り")};
    s().OutAdr.push_back(item(u"me@example.jp"));
    s().OutAdr[1].checked = true;
    // Captions and tips of every kind of control, and the menus' states.
    s().window.caption = s().Frame1.caption = s().Check1[3].caption = s().Check3.caption = s().Command6.caption =
        u"表示";
    s().Picture1.toolTip = u"ヒント";
    s().imenu.enabled = false;
    win.refresh();

    EXPECT_TRUE(win.Check1[6]->isChecked() && win.Check2->isChecked());
    EXPECT_EQ(win.Combo2->currentText(), QStringLiteral("私用"));
    EXPECT_EQ(win.List1->currentIndex().row(), 2);
    EXPECT_EQ(win.Combo1->currentText(), QStringLiteral("c@docomo.ne.jp"));
    EXPECT_TRUE(win.Combo2->isHidden() && !win.Command3->isEnabled() && win.Label5->isVisible());
    EXPECT_TRUE(win.Command7->styleSheet().contains(QStringLiteral("#ff0000")));
    EXPECT_EQ(win.Label5->text(), QStringLiteral("250文字を1文字オーバー。制限数に達しました。"));
    EXPECT_EQ(win.Text1->geometry(), twips(0, 1560, 4500, 2000));
    for (const QString& caption :
         {win.windowTitle(), win.Frame1->title(), win.Check1[3]->text(), win.Check3->text(), win.Command6->text()})
        EXPECT_EQ(caption, QStringLiteral("表示"));
    EXPECT_EQ(win.Picture1->toolTip(), QStringLiteral("ヒント"));
    // A label shows its caption as written, however much of it looks like markup.
    s().Label6.caption = u"<b>x</b>";
    win.refresh();
    EXPECT_GE(win.Label6->sizeHint().width(),
              QFontMetrics(win.Label6->font()).horizontalAdvance(QStringLiteral("<b>x</b>")));
    EXPECT_FALSE(win.imenu->menuAction()->isEnabled());
    ASSERT_EQ(win.PutChar.size(), 2u);
    EXPECT_EQ(win.PutChar[1]->text(), QStringLiteral("\uE63F   =   曇り"));
    s().OutAdr[0].checked = false;
    win.refresh();
    ASSERT_EQ(win.OutAdr.size(), s().OutAdr.size());
    EXPECT_TRUE(win.OutAdr[1]->isChecked() && !win.OutAdr[0]->isChecked());
    // The editor's state was not touched by mirroring it.
    EXPECT_EQ(s().Combo1.text, u"c@docomo.ne.jp");
    EXPECT_EQ(s().Combo2.listIndex, 1);

    // Every entry of every menu shows its caption.
    std::function<void(const QList<QAction*>&)> expectCaptions = [&](const QList<QAction*>& entries) {
        for (QAction* a : entries) {
            EXPECT_TRUE(a->isSeparator() || !a->text().isEmpty()) << a->objectName().toStdString();
            if (a->menu())
                expectCaptions(a->menu()->actions());
        }
    };
    expectCaptions(win.menuBar()->actions());

    // Entries made at run time go away again.
    s().PutChar.resize(1);
    win.refresh();
    EXPECT_EQ(win.PutChar.size(), 1u);
    EXPECT_EQ(win.findChild<QAction*>(QStringLiteral("PutChar(1)")), nullptr);
}

// Past the limit the banner covers the status bar and is drawn again at every keystroke: it is
// filled in its colour, and the labels under it are not drawn.
TEST_F(WindowTest, TheBannerAloneIsDrawnOverTheStatusBar) {
    start();
    ui::MainWindow& win = w();
    s().Label5.visible = true;
    s().Label5.caption = u"250文字を1文字オーバー。制限数に達しました。";
    s().Label1.caption = u"251.0文字 (251)";
    win.refresh();
    QApplication::processEvents();
    struct Paints : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            count += e->type() == QEvent::Paint;
            return false;
        }
    } under, banner;
    win.Label1->installEventFilter(&under);
    win.Label5->installEventFilter(&banner);
    // A keystroke: the count and the banner change.
    s().Label1.caption = u"252.0文字 (252)";
    s().Label5.caption = u"250文字を2文字オーバー。制限数に達しました。";
    win.refresh();
    QApplication::processEvents();
    EXPECT_GT(banner.count, 0);
    EXPECT_EQ(under.count, 0);
    EXPECT_EQ(win.Label5->grab().toImage().pixelColor(1, 1), ui::colours::BannerBack);
}

TEST_F(WindowTest, UserActionsReachTheEditor) {
    start();
    ui::MainWindow& win = w();
    // A mail starts with its destination, then the title, then the body.
    win.activateWindow();
    EXPECT_TRUE(win.Combo1->hasFocus());
    key(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(win.Text2->hasFocus());
    key(win.Text2, Qt::Key_Tab);
    EXPECT_TRUE(win.Text1->hasFocus());

    // A preset limit answers the limit question, so the click asks nothing.
    s().presetLimit = 300;
    QTest::mouseClick(win.Check1[6], Qt::LeftButton);
    EXPECT_TRUE(s().Check1[6].checked);
    QTest::mouseClick(win.Check1[0], Qt::LeftButton);
    QTest::mouseClick(win.Check1[0], Qt::LeftButton);
    EXPECT_FALSE(s().Check1[0].checked);

    type(win.Text2, QStringLiteral("件名です"));
    EXPECT_EQ(s().Text2.text, u"件名です");
    // What the editor makes of a pasted line break shows in the box.
    win.Text2->insert(QStringLiteral("\r\nBcc:x"));
    EXPECT_EQ(win.Text2->text(), QStringLiteral("件名です Bcc:x"));
    win.Text2->setCursorPosition(2); // mid-line, the box shows the editor's caret, not its own at the end
    win.Text2->insert(QStringLiteral("\r\n"));
    EXPECT_EQ(win.Text2->text(), QStringLiteral("件名 です Bcc:x"));
    EXPECT_EQ(win.Text2->cursorPosition(), s().Text2.selStart);
    EXPECT_EQ(s().Text2.selStart, 3); // after the space the line break became
    win.activateWindow();
    win.Text2->setFocus();
    key(win.Text2, Qt::Key_Return);
    EXPECT_TRUE(win.Text1->hasFocus());

    // The destination box keeps its text through the editor.
    s().Combo1.items = {{u"a@docomo.ne.jp", 0}, {u"b@docomo.ne.jp", 1}};
    win.refresh();
    type(win.Combo1->lineEdit(), QStringLiteral("x@"));
    // The carrier's domain is offered after "@", selected, in the box as in the editor.
    EXPECT_EQ(s().Combo1.text, u"x@docomo.ne.jp");
    EXPECT_EQ(win.Combo1->currentText(), QStringLiteral("x@docomo.ne.jp"));
    type(win.Combo1->lineEdit(), QStringLiteral("d"));
    EXPECT_EQ(s().Combo1.text, u"x@d");
    EXPECT_EQ(s().Combo1.selStart, 3);
    win.Combo1->lineEdit()->insert(QStringLiteral("\r\nx")); // a pasted line break: the caret after the paste
    EXPECT_EQ(s().Combo1.text, u"x@d x");
    EXPECT_EQ(s().Combo1.selStart, 5);
    EXPECT_EQ(win.Combo1->lineEdit()->cursorPosition(), 5);
    win.Combo1->activated(1); // picking an entry, and with it the phone model it was stored with
    EXPECT_EQ(s().Combo1.text, u"b@docomo.ne.jp");
    EXPECT_EQ(win.Combo3->currentText(), QStringLiteral("N501i"));

    // Ctrl+S in the body copies the whole mail text.
    win.Text1->setFocus();
    type(win.Text1, QStringLiteral("本文"));
    key(win.Text1, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("本文"));

    // The size menu sizes the body's font and checks its own entry.
    win.SizeFontChg[2]->trigger();
    EXPECT_EQ(win.Text1->font().pointSizeF(), 15.0);
    EXPECT_TRUE(win.SizeFontChg[2]->isChecked() && !win.SizeFontChg[0]->isChecked());

    // The auto-replace entry keeps its check in the editor's state.
    win.Aouttikan->trigger();
    EXPECT_TRUE(s().Aouttikan.checked);
    win.Aouttikan->trigger();
    EXPECT_FALSE(s().Aouttikan.checked);
}

// The draft entry of the menu checks the mail as sending does; Cancel leaves it unsaved.
TEST_F(WindowTest, SavingADraftFromTheMenuChecksTheMailFirst) {
    start();
    type(w().Text1, QStringLiteral("x"));
    prompts.question(
        u"ほんとに？",
        u"・宛先が未記入です。\r\n・タイトルが未記入です。(全角15文字以内)\r\n\r\n本当に送信してもいいんですか？",
        core::Buttons::OkCancel, core::Answer::Cancel);
    w().TotyuuSave->trigger();
    prompts.verify();
    EXPECT_TRUE(s().modified);
}

TEST_F(WindowTest, ReadMeOpensTheReadmeFile) {
    programFile("readme.txt", u"はじめに\r\n");
    start();
    Desktop desktop;
    ASSERT_TRUE(w().ReadMe->isEnabled());
    w().ReadMe->trigger();
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(desktop.opened[0].toLocalFile(), QString::fromStdString((folder.path() / "readme.txt").string()));
}

// The Becky! 2 set-up waits in the window for a mail to reach the outbox: the wait says
// whether it came, and gives up after its time.
TEST_F(WindowTest, AWaitSaysWhetherWhatItWaitedForCame) {
    start();
    bool came = false, late = false;
    QTimer::singleShot(30, [&] { came = true; });
    EXPECT_TRUE(w().waitUntil([&] { return came; }, 5000, 5));
    QTimer::singleShot(2000, [&] { late = true; }); // a wait that never gives up still ends
    EXPECT_FALSE(w().waitUntil([&] { return late; }, 50, 5));
}

// The address book's thousands of lines wait for the window's first paint; then the list fills
// without picking a destination.
TEST_F(WindowTest, TheDestinationsArriveOnceTheWindowIsOnScreen) {
    programFile("addr.adr", u"a@docomo.ne.jp\tアリス\t.\t.\t.\t.\r\nb@docomo.ne.jp\tボブ\t.\t.\t.\t.\r\n");
    start();
    ASSERT_TRUE(w().waitUntil([&] { return w().Combo1->count() == 2; }, 5000, 5));
    EXPECT_TRUE(w().Combo1->itemText(1).contains(QStringLiteral("b@docomo.ne.jp")));
    EXPECT_TRUE(w().Combo1->currentText().isEmpty());
    EXPECT_TRUE(s().Combo1.text.empty());
}

#ifndef _WIN32
// The program itself, with a Becky! in place: it opens its window and waits for the user.
TEST(Program, StartsAndWaitsForTheUser) {
    TempFolder folder; // the program's folder is where it finds itself
    const std::filesystem::path program = folder.path() / "kotori";
    std::filesystem::copy_file(KOTORI_PROGRAM, program);
    std::filesystem::create_directories(folder.path() / "becky" / "User1");
    folder.write("Becky.mil", platform::encodeCp932(
                                  folder.core() + u"\\becky\\\r\nme@docomo.ne.jp\r\nメイン,1\r\nmain@example.jp\r\n"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), QString::fromStdString(folder.path().string()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess run;
    run.setProcessEnvironment(environment);
    run.start(QString::fromStdString(program.string()), {});
    ASSERT_TRUE(run.waitForStarted(5000));
    EXPECT_FALSE(run.waitForFinished(1500)) << run.readAllStandardError().toStdString();
    run.kill();
    run.waitForFinished(5000);
}
#endif

} // namespace
} // namespace test

#include "MainWindowTest.moc"
