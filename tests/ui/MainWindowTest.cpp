#include "WindowTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace test {
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

TEST_F(WindowTest, ControlsCarryTheirNamesCaptionsTipsAndPlaces) {
    start();
    ui::MainWindow& win = w();
    EXPECT_EQ(win.windowTitle(), QStringLiteral("ことり便"));

    // Names as the editor knows them, found the way a tool would find them.
    for (const char* name : {"Frame1",      "Frame2",   "Frame3",   "Command1", "Command2", "Command3", "Command4(0)",
                             "Command4(1)", "Command5", "Command6", "Command7", "Check2",   "Check3",   "Combo1",
                             "Combo2",      "Combo3",   "List1",    "Picture1", "Label1",   "Label2",   "Label3(0)",
                             "Label3(1)",   "Label4",   "Label5",   "Label6",   "Text1",    "Text2",    "Text3"})
        EXPECT_NE(win.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(win.findChild<QCheckBox*>(QStringLiteral("Check1(%1)").arg(i)), win.Check1[std::size_t(i)]);

    // Captions, tool tips and texts, one of each kind.
    EXPECT_EQ(win.Frame1->title(), QStringLiteral("制限"));
    EXPECT_EQ(win.Check1[3]->text(), QStringLiteral("「」、（）、[]、{}抜き"));
    EXPECT_EQ(win.Command4[0]->toolTip(), QStringLiteral("imode p501i ﾌﾟﾚﾋﾞｭｰ"));
    EXPECT_EQ(win.Picture1->toolTip(), QStringLiteral("○表示は、OFF　●表示はONを表します。"));
    EXPECT_EQ(win.Label1->text(), QStringLiteral("\\≒0.0円 000.0文字 (000)"));
    EXPECT_EQ(win.Label6->text(), QStringLiteral("草稿：0_ログ：0"));
    EXPECT_EQ(win.Command6->text(), QStringLiteral("アドレス(&A)"));
    EXPECT_EQ(win.Check3->text(), QStringLiteral("縦書きﾌﾟﾚﾋﾞｭｰﾓｰﾄﾞ"));
    EXPECT_TRUE(win.Label4->text().startsWith(QStringLiteral("　実際の簡易的な送信イメージ画面です。\n")));
    for (QPushButton* b : {win.Command3, win.Command4[0], win.Command4[1], win.Command7, win.Command2})
        EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();

    // Geometry: twips / 15, inside the containers.
    // The editor lays the window out for its client area, which the window reports.
    EXPECT_EQ(win.centralWidget()->width() * 15, s().window.innerWidth);
    EXPECT_EQ(win.centralWidget()->height() * 15, s().window.innerHeight);
    const core::Rect& body = s().Text1.rect;
    EXPECT_EQ(win.Text1->geometry(), twips(body.left, body.top, body.width, body.height));
    EXPECT_EQ(body.width, s().window.innerWidth - 2055 - 60);
    EXPECT_EQ(win.Combo2->geometry(), twips(5280, 150, 1215, 300));
    EXPECT_EQ(win.Check1[6]->geometry(), twips(2580, 1200, 1290, 285));
    EXPECT_EQ(win.Text3->geometry(), twips(120, 480, 1755, 1710));
    EXPECT_EQ(win.Text3->parentWidget(), win.Frame3);

    // States at start without any file: the banner and the draft list are hidden.
    EXPECT_TRUE(win.Label5->isHidden() && win.List1->isHidden());

    // Fonts: the body in the serif face at 12 points, the title in the sans face.
    EXPECT_EQ(win.Text1->font().families().value(0), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(win.Text1->font().pointSizeF(), 12.0);
    EXPECT_EQ(win.Text2->font().families().value(0), QStringLiteral("ＭＳ ゴシック"));
}

TEST_F(WindowTest, MenusCarryTheirNamesCaptionsAndShortcuts) {
    start();
    ui::MainWindow& win = w();
    QStringList titles;
    for (QAction* a : win.menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles,
              (QStringList{QStringLiteral("ファイル(&F)"), QStringLiteral("編集(&C)"), QStringLiteral("コード登録(&C)"),
                           QStringLiteral("i-mode(&I)"), QStringLiteral("ｳｨﾝﾄﾞｳ(&W)"), QStringLiteral("ヘルプ(&H)")}));

    auto action = [&](const char* name) { return win.findChild<QAction*>(QLatin1String(name)); };
    ASSERT_NE(action("OutAdr(0)"), nullptr);
    EXPECT_EQ(action("OutAdr(0)")->text(), QStringLiteral("me@docomo.ne.jp")); // from the pointer file
    EXPECT_TRUE(action("OutAdr(0)")->isChecked());
    EXPECT_EQ(action("nuki(3)")->text(), QStringLiteral("↑変換\\"));
    EXPECT_EQ(action("OutAdrChg(2)")->text(), QStringLiteral("送信ｱﾄﾞﾚｽ変更確認ﾒｯｾｰｼﾞを出す(&M)"));
    EXPECT_EQ(action("MnuTouroku(0)")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    EXPECT_FALSE(action("MnuOpenHelp")->isEnabled());

    // Every menu's entries in order, "-" for a separator, "*" after an entry that shows a check mark.
    auto entries = [](QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-")
                                     : a->objectName() + (a->isCheckable() ? QStringLiteral("*") : QString()));
        return out.join(QLatin1Char(' ')).toStdString();
    };
    EXPECT_EQ(entries(win.Mnufile), "openfile newfile TotyuuSave ReadingBecky(0) ReadingBecky(1) - Mnuexit");
    EXPECT_EQ(entries(win.mainmnu), "CopyDisp(0) CopyDisp(1) CopyDisp(2) mojisize - nuki(0) nuki(1) nuki(2) nuki(3) "
                                    "nuki(4) nuki(5) nuki(6) nuki(7) nuki(8) - Cmero");
    EXPECT_EQ(entries(win.mojisize), "SizeFontChg(0)* SizeFontChg(1)* SizeFontChg(2)*");
    EXPECT_EQ(entries(win.Mnucode), "mojio MnuTouroku(0) MnuTouroku(1) EmojiChk Aouttikan* - PutChar(0)");
    EXPECT_EQ(entries(win.imenu), "IOutNO* IOutput* IOutEnd* OutBcc* OutAccuntChg - OutAdr(0)* OutAdr(1)*");
    EXPECT_EQ(entries(win.OutAccuntChg), "OutAdrChg(0)* OutAdrChg(1)* OutAdrChg(2)*");
    EXPECT_EQ(entries(win.MnuWindow), "ViewPre(0) ViewPre(1) ViewPre(2) - YokoPre MnuTATE");
    EXPECT_EQ(entries(win.MnuTATE), "PreTate(0) PreTate(1)");
    EXPECT_EQ(entries(win.MnuHelp), "kotori ReadMe - ReSetSave - MnuOpenHelp");
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
    s().Combo1.items = {{u"a@docomo.ne.jp", 0}, {u"b@docomo.ne.jp", 1}};
    s().Combo1.text = u"c@docomo.ne.jp";
    s().Combo2.visible = s().Command3.enabled = false;
    s().Command7.red = s().Label5.visible = true;
    s().Label5.caption = u"250文字を1文字オーバー。制限数に達しました。";
    s().Text1.rect = {0, 1560, 4500, 2000};
    s().PutChar = {item(u"\uE63E   =   晴れ"), item(u"\uE63F   =   曇り")};
    s().OutAdr.push_back(item(u"me@example.jp"));
    s().OutAdr[1].checked = true;
    win.refresh();

    EXPECT_TRUE(win.Check1[6]->isChecked() && win.Check2->isChecked());
    EXPECT_EQ(win.Combo2->currentText(), QStringLiteral("私用"));
    EXPECT_EQ(win.Combo1->currentText(), QStringLiteral("c@docomo.ne.jp"));
    EXPECT_TRUE(win.Combo2->isHidden() && !win.Command3->isEnabled() && win.Label5->isVisible());
    EXPECT_TRUE(win.Command7->styleSheet().contains(QStringLiteral("#ff0000")));
    EXPECT_EQ(win.Label5->text(), QStringLiteral("250文字を1文字オーバー。制限数に達しました。"));
    EXPECT_EQ(win.Text1->geometry(), twips(0, 1560, 4500, 2000));
    ASSERT_EQ(win.PutChar.size(), 2u);
    EXPECT_EQ(win.PutChar[1]->text(), QStringLiteral("\uE63F   =   曇り"));
    s().OutAdr[0].checked = false;
    win.refresh();
    ASSERT_EQ(win.OutAdr.size(), s().OutAdr.size());
    EXPECT_TRUE(win.OutAdr[1]->isChecked() && !win.OutAdr[0]->isChecked());
    // The editor's state was not touched by mirroring it.
    EXPECT_EQ(s().Combo1.text, u"c@docomo.ne.jp");
    EXPECT_EQ(s().Combo2.listIndex, 1);

    // Entries made at run time go away again.
    s().PutChar.resize(1);
    win.refresh();
    EXPECT_EQ(win.PutChar.size(), 1u);
    EXPECT_EQ(win.findChild<QAction*>(QStringLiteral("PutChar(1)")), nullptr);
}

TEST_F(WindowTest, UserActionsReachTheEditor) {
    start();
    ui::MainWindow& win = w();
    // A preset limit answers the limit question, so the click asks nothing.
    s().presetLimit = 300;
    QTest::mouseClick(win.Check1[6], Qt::LeftButton);
    EXPECT_TRUE(s().Check1[6].checked);
    QTest::mouseClick(win.Check1[0], Qt::LeftButton);
    QTest::mouseClick(win.Check1[0], Qt::LeftButton);
    EXPECT_FALSE(s().Check1[0].checked);

    type(win.Text2, QStringLiteral("件名です"));
    EXPECT_EQ(s().Text2.text, u"件名です");
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
    win.Combo1->activated(1); // picking an entry
    EXPECT_EQ(s().Combo1.text, u"b@docomo.ne.jp");

    // The auto-replace entry keeps its check in the editor's state.
    win.Aouttikan->trigger();
    EXPECT_TRUE(s().Aouttikan.checked);
    win.Aouttikan->trigger();
    EXPECT_FALSE(s().Aouttikan.checked);
}

TEST_F(WindowTest, PastedLineBreaksBecomeSpacesInTheSingleLineBoxes) {
    start();
    ui::MainWindow& win = w();
    win.Text2->insert(QStringLiteral("hi\r\nBcc:x\n")); // as a paste does
    EXPECT_EQ(s().Text2.text, u"hi Bcc:x ");
    EXPECT_EQ(win.Text2->text(), QStringLiteral("hi Bcc:x "));
    win.Combo1->lineEdit()->insert(QStringLiteral("a@b\r\n"));
    EXPECT_EQ(s().Combo1.text, u"a@b ");
    EXPECT_EQ(win.Combo1->currentText(), QStringLiteral("a@b "));
}

TEST_F(WindowTest, WindowSizeFollowsTheEditorAndReportsBack) {
    start();
    ui::MainWindow& win = w();
    // A size from the settings is the outer size, frame included.
    s().window.outerWidth = 9000;
    s().window.outerHeight = 7500;
    win.refresh();
    QTest::qWait(20);
    EXPECT_EQ(win.frameGeometry().size(), QSize(600, 500));
    EXPECT_EQ(win.centralWidget()->height(),
              500 - (win.frameGeometry().height() - win.height()) - win.menuBar()->height());

    // The user resizes: the editor learns the client area and lays the controls out for it.
    win.resize(700, 600);
    QTest::qWait(20);
    EXPECT_EQ(s().window.innerWidth, win.centralWidget()->width() * 15);
    EXPECT_EQ(s().window.innerHeight, win.centralWidget()->height() * 15);
    EXPECT_EQ(win.Text1->height(), (s().window.innerHeight - 1980 + 7) / 15);
    EXPECT_EQ(win.Picture1->y(), (s().window.innerHeight - 385 + 7) / 15);

    s().window.visible = false;
    win.refresh();
    EXPECT_FALSE(win.isVisible());
}

} // namespace
} // namespace test
