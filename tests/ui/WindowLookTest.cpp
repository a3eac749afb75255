// How the window looks and keeps its size: whole captions, opaque frames, sizes that last.
#include "WindowTest.h"
#include "ui/EmojiFonts.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace test {
namespace {

// The label's text fits it, in the label's own font.
void expectWhole(QWidget* w) {
    EXPECT_LE(w->sizeHint().width(), w->width()) << w->objectName().toStdString();
    EXPECT_LE(w->sizeHint().height(), w->height()) << w->objectName().toStdString();
}

// Each widget at least `gap` pixels to the right of the one before it.
void expectApart(std::vector<QWidget*> widgets, int gap) {
    std::sort(widgets.begin(), widgets.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    for (std::size_t i = 1; i < widgets.size(); ++i)
        EXPECT_GE(widgets[i]->x() - (widgets[i - 1]->x() + widgets[i - 1]->width()), gap)
            << widgets[i - 1]->objectName().toStdString() << " / " << widgets[i]->objectName().toStdString();
}

// Names the system lacks are left out of a face (each costs a search through every installed
// font), off Windows glyphs go unhinted, and dialogs and line boxes share the window's face.
TEST_F(WindowTest, TheWindowsFacesAreInstalledOnesSharedWithTheDialogs) {
    start();
    const QFont font = w().Text1->font();
    const QStringList installed = QFontDatabase::families();
    const QStringList emoji = ui::emojiFamilies();
    QStringList named;
    for (const QString& family : font.families())
        if (!emoji.contains(family))
            named << family;
    ASSERT_FALSE(named.isEmpty());
    const auto isInstalled = [&](const QString& family) { return installed.contains(family, Qt::CaseInsensitive); };
    if (std::any_of(named.begin(), named.end(), isInstalled)) { // else all are kept, for the system's fallback
        for (const QString& family : named)
            EXPECT_TRUE(isInstalled(family)) << family.toStdString();
    }
#ifndef Q_OS_WIN
    EXPECT_EQ(font.hintingPreference(), QFont::PreferNoHinting);
#endif
    EXPECT_EQ(QApplication::font().families(), w().font().families());
}

std::string sizeLines(const std::string& ini) {
    return ini.substr(0, ini.find("Sei0"));
}

// At the start size, in a wider window, at the smallest size and with the filter frame open:
// every caption and status text shows whole, the status texts apart, every control inside the
// client area, the preview between the buttons and the status bar.
TEST_F(WindowTest, CaptionsShowWholeAndControlsStayInsideAtEverySize) {
    programFile("Kotori.ini", u"imde=1\r\nSei0=1\r\nSei1=1\r\n"); // a long filter text in the status bar
    start();
    ui::MainWindow& win = w();
    QWidget* client = win.centralWidget();
    const QString limits = QStringLiteral("・制限：タブ 改行 文字数 種別 i-mode");
    ASSERT_EQ(win.Label3[0]->text(), limits);
    const QSize startSize = win.size();
    ASSERT_EQ(win.Label2->text(), QStringLiteral("件名：："));
    const std::vector<QWidget*> labels{win.Label3[0], win.Label3[1], win.Label6, win.Label1};
    const struct {
        const char* name;
        QSize size;
    } sizes[] = {{"start", startSize}, {"wider", startSize + QSize(300, 0)}, {"smallest", QSize(300, 220)}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.name);
        win.resize(size.size);
        QTest::qWait(20);
        for (QWidget* box : std::vector<QWidget*>{win.Check2, win.Check3})
            EXPECT_LE(box->sizeHint().width(), box->width()) << box->objectName().toStdString();
        if (size.size != sizes[2].size) {
            for (QWidget* l : labels)
                expectWhole(l);
            expectWhole(win.Label2);
            expectApart(labels, 8);
            EXPECT_GE(win.Label1->x() + win.Label1->width(), win.Picture1->width() - 10); // the counter at the right
            EXPECT_EQ(win.Label3[0]->text(), limits);
        }
        EXPECT_EQ(win.Label3[0]->text(), limits); // whole at every size, smaller if need be
        for (QWidget* c :
             std::vector<QWidget*>{win.Frame2, win.Combo2, win.Frame3, win.Check3, win.Picture1, win.Label1}) {
            QRect inClient(c->mapTo(client, QPoint(0, 0)), c->size());
            EXPECT_TRUE(client->rect().contains(inClient)) << c->objectName().toStdString();
        }
        EXPECT_GE(win.Frame3->y(), win.Frame2->y() + win.Frame2->height() - 10);
        EXPECT_LE(win.Frame3->y() + win.Frame3->height(), win.Picture1->y());
        EXPECT_GT(win.Text1->height(), 40);
    }
    EXPECT_EQ(client->size(), QSize(7500 / 15, 5400 / 15)); // the window cannot shrink below its controls

    // Every filter on at the smallest size: the limits show as much as fits, marked as cut, and
    // whole as their tooltip.
    const QString every = QStringLiteral("・制限：タブ 改行 句読点 括弧 タグ ｺﾄﾘ 文字数 種別 AUTO i-mode");
    s().Label3[0].caption = every.toStdU16String();
    editor->relayout();
    win.refresh();
    EXPECT_TRUE(win.Label3[0]->text().endsWith(QChar(0x2026))) << win.Label3[0]->text().toStdString();
    EXPECT_EQ(win.Label3[0]->toolTip(), every);
    expectWhole(win.Label3[0]);

    // The opened filter frame shows every caption and covers what is below with its own background.
    win.resize(startSize);
    editor->setBody(std::u16string(240, u'■')); // under the i-mode limit
    QTest::mouseClick(win.Frame1, Qt::LeftButton, {}, QPoint(8, 8));
    ASSERT_EQ(win.Frame1->height(), 2655 / 15);
    EXPECT_LE(win.Frame1->x() + win.Frame1->width(), client->width());
    for (QCheckBox* box : win.Check1) {
        expectWhole(box);
        EXPECT_LE(box->x() + box->width(), win.Frame1->width()) << box->objectName().toStdString();
        EXPECT_LE(box->y() + box->height(), win.Frame1->height()) << box->objectName().toStdString();
    }
    QImage shot = client->grab().toImage();
    QPoint inside = win.Frame1->geometry().bottomLeft() + QPoint(4, -4);
    ASSERT_TRUE(win.Text1->geometry().contains(inside));
    const QColor window = win.Frame1->palette().color(QPalette::Window);
    EXPECT_LT(std::abs(shot.pixelColor(inside).lightness() - window.lightness()), 8);
    EXPECT_NE(shot.pixelColor(inside), win.Text1->palette().color(QPalette::Base));
    // The body is written in a Mincho face.
    EXPECT_EQ(win.Text1->font().styleHint(), QFont::Serif);
    // Picture buttons carry their icons, which the program carries within.
    for (QPushButton* b : {win.Command3, win.Command4[0], win.Command4[1], win.Command7, win.Command2})
        EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
}

TEST_F(WindowTest, TheSizeReadFromTheSettingsIsTheSizeSavedAcrossRestarts) {
    start(); // the first start: the window's own size
    w().closeWindow();
    EXPECT_EQ(sizeLines(folder.read("Kotori.ini")), "Xsiz=8010\r\nYsiz=8190\r\n");
    TearDown();
    programFile("Kotori.ini", u"Xsiz=8003\r\nYsiz=9001\r\n");
    for (int run = 0; run < 3; ++run) {
        start();
        w().closeWindow();
        ASSERT_TRUE(w().ended());
        EXPECT_EQ(sizeLines(folder.read("Kotori.ini")), "Xsiz=8003\r\nYsiz=9001\r\n") << "run " << run;
        TearDown();
    }
}

} // namespace
} // namespace test
