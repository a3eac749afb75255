#include "WindowTest.h"

#include "core/mailbox/MessageRecord.h"
#include "ui/DraftList.h"
#include "ui/TabStopDelegate.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace test {
namespace {

std::u16string logged(std::u16string destination, std::u16string title, std::u16string body,
                      std::u16string sender = u"me@docomo.ne.jp") {
    return core::mailbox::logRecord({std::move(sender), std::move(destination), {}, std::move(title), std::move(body)},
                                    u"2026/12/06 21:30:05", false) +
           u"\r\n";
}

TEST_F(WindowTest, LogListShowsAlignedColumnsUnderTheBodyAndLoadsAClickedRow) {
    programFile("OutPutLog.mbx", logged(u"a@docomo.ne.jp", u"一通目", u"はじめの\r\n\r\nメール") +
                                     logged(u"longer.address@docomo.ne.jp", u"二", u"次", u"main@example.jp"));
    start();
    ui::MainWindow& win = w();
    // Views are told before the rows change, and after (Qt's item model contract).
    int told = 0, changed = 0;
    QObject::connect(win.List1->model(), &QAbstractItemModel::modelAboutToBeReset, [&] { ++told; });
    QObject::connect(win.List1->model(), &QAbstractItemModel::modelReset, [&] { changed += told > changed; });
    win.ReadingBecky[1]->trigger();
    QTest::qWait(1);
    EXPECT_TRUE(changed >= 1 && told == changed);

    // Under the body, as wide as it.
    ASSERT_TRUE(win.List1->isVisible());
    EXPECT_GT(win.List1->y(), win.Text1->geometry().bottom());
    EXPECT_EQ(win.List1->width(), win.Text1->width());
    EXPECT_EQ(win.Label6->text(), QStringLiteral("草稿：0_ログ：2"));

    // Every row's columns start on the same stops, in dialog units of the list's font.
    auto* model = win.List1->model();
    ASSERT_EQ(model->rowCount(), 3);
    auto* delegate = qobject_cast<ui::TabStopDelegate*>(win.List1->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    const QFontMetrics metrics(win.List1->font());
    const int unit = ui::TabStopDelegate::baseUnit(metrics);
    EXPECT_GE(unit, 2);
    const std::vector<int> stops{0, 125 * unit / 4, 300 * unit / 4, 390 * unit / 4, 570 * unit / 4};
    EXPECT_EQ(delegate->columnStarts(5, metrics), stops);
    for (int row = 0; row < 3; ++row) {
        const auto shown = delegate->shownColumns(model->index(row, 0), metrics, 1300);
        ASSERT_EQ(shown.size(), 5u) << row;
        for (std::size_t c = 0; c < 5; ++c)
            EXPECT_EQ(shown[c].x, stops[c]) << row;
    }
    // Rows of one height, 1300 pixels wide: the list scrolls sideways.
    EXPECT_EQ(win.List1->visualRect(model->index(1, 0)).height(), win.List1->visualRect(model->index(2, 0)).height());
    EXPECT_EQ(win.List1->horizontalScrollBar()->maximum(), 1300 - win.List1->viewport()->width());

    // A click loads the row (the last mail is listed first); a double click hides the list.
    const QPoint second = win.List1->visualRect(model->index(2, 0)).center();
    QTest::mouseClick(win.List1->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(shownBody(), u"はじめの\r\n\r\nメール");
    EXPECT_EQ(win.Text2->text(), QStringLiteral("一通目"));
    EXPECT_EQ(win.Combo1->currentText(), QStringLiteral("a@docomo.ne.jp"));
    EXPECT_EQ(win.List1->currentIndex().row(), 2);
    EXPECT_TRUE(win.OutAdr[0]->isChecked() && !win.OutAdr[1]->isChecked());
    QTest::keyClick(win.List1, Qt::Key_Up); // moving through the rows loads each one, from its sender
    EXPECT_EQ(shownBody(), u"次");
    EXPECT_TRUE(win.OutAdr[1]->isChecked() && !win.OutAdr[0]->isChecked());
    // A double click: press, release, press and double click, release.
    QTest::mouseClick(win.List1->viewport(), Qt::LeftButton, {}, second);
    QTest::mousePress(win.List1->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(win.List1->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseRelease(win.List1->viewport(), Qt::LeftButton, {}, second);
    EXPECT_FALSE(win.List1->isVisible());
    EXPECT_EQ(win.Text1->height(), (s().window.innerHeight - 1980 + 7) / 15);
    prompts.verify();
}

// A title longer than its column, or holding the column separator, leaves every column where
// it belongs: cut at the next stop, with the whole row as the tooltip.
TEST_F(WindowTest, LongTitlesAreCutAtTheirColumnSoEveryColumnLinesUp) {
    const std::u16string title = u"とても長い件名のメールでございます";
    programFile("OutPutLog.mbx", logged(u"a@docomo.ne.jp", title, u"本文") + logged(u"b@docomo.ne.jp", u"x\t|y", u"z"));
    start();
    w().ReadingBecky[1]->trigger();
    QTest::qWait(1);
    auto* model = w().List1->model();
    auto* delegate = qobject_cast<ui::TabStopDelegate*>(w().List1->itemDelegate());
    const QFontMetrics metrics(w().List1->font());
    const std::vector<int> stops = delegate->columnStarts(5, metrics);
    for (int row = 1; row < 3; ++row) {
        const auto shown = delegate->shownColumns(model->index(row, 0), metrics, 1300);
        ASSERT_EQ(shown.size(), 5u);
        for (std::size_t c = 0; c < 4; ++c) {
            EXPECT_EQ(shown[c].x, stops[c]);
            EXPECT_LE(shown[c].x + metrics.horizontalAdvance(shown[c].text), stops[c + 1]) << row << " " << c;
        }
    }
    const auto cut = delegate->shownColumns(model->index(2, 0), metrics, 1300); // listed last: sent first
    EXPECT_TRUE(cut[0].text.endsWith(QChar(0x2026)));
    EXPECT_EQ(cut[1].text, QStringLiteral("|a@docomo.ne.jp"));
    EXPECT_EQ(model->index(2, 0).data(Qt::ToolTipRole).toString(),
              QString::fromStdU16String(title) +
                  QStringLiteral(" | a@docomo.ne.jp | 2026/12/06 21:30:05 | me@docomo.ne.jp | 本文\r\n"));
    const auto tab = delegate->shownColumns(model->index(1, 0), metrics, 1300);
    EXPECT_EQ(tab[0].text, QStringLiteral("x |y"));
    EXPECT_EQ(tab[1].text, QStringLiteral("|b@docomo.ne.jp"));
}

} // namespace
} // namespace test
