// Text from input methods, the clipboard and drops arriving in the window's boxes.
#include "WindowTest.h"

#include "ui/Convert.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

namespace test {
namespace {

const QString JisForms = QString::fromUtf16(u"\u301C\u2212\u2016\u2014\u203E");
const std::u16string Cp932Forms = u"\uFF5E\uFF0D\u2225\u2015\uFFE3";

void commit(QWidget* widget, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(widget, &event);
    QTest::qWait(1); // the body box takes the editor's rewriting once its own change is over
}

class PhoneInputWindowTest : public WindowTest {};

TEST_F(PhoneInputWindowTest, InputMethodCommitsInEveryBoxAreOneUndoStep) {
    start();
    ui::MainWindow& win = w();
    win.Text1->setFocus();
    type(win.Text1, QStringLiteral("a"));
    commit(win.Text1, JisForms + QString::fromUtf16(u"\u2600\uFE0F"));
    EXPECT_EQ(s().Text1.text, u"a" + Cp932Forms + u"\uE63E");
    EXPECT_EQ(shownBody(), s().Text1.text);
    EXPECT_EQ(s().usedEmoji, u"\uE63E");
    EXPECT_EQ(win.Text1->textCursor().position(), 7); // after the emoji, now one unit
    win.Text1->undo();
    EXPECT_EQ(shownBody(), u"a");
    EXPECT_EQ(s().Text1.text, u"a");

    win.Text2->setFocus();
    commit(win.Text2, JisForms + QString::fromUtf16(u"\U0001F603"));
    EXPECT_EQ(s().Text2.text, Cp932Forms + u"\uE6F0");
    EXPECT_EQ(win.Text2->text(), ui::qs(s().Text2.text));
    win.Text2->undo();
    EXPECT_EQ(s().Text2.text, u"");
    // The paste of the box's own menu, too.
    QGuiApplication::clipboard()->setText(JisForms);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(4, 4), win.Text2->mapToGlobal(QPoint(4, 4)));
    QCoreApplication::sendEvent(win.Text2, &click);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    const QString pasteKey = QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction* entry : menu->actions())
        if (entry->text().endsWith(pasteKey))
            entry->trigger();
    menu->close();
    EXPECT_EQ(s().Text2.text, Cp932Forms);
    win.Text2->undo();
    EXPECT_EQ(s().Text2.text, u"");
    key(win.Text2, Qt::Key_V, Qt::ControlModifier); // and of the paste key
    EXPECT_EQ(s().Text2.text, Cp932Forms);
    win.Text2->undo();
    EXPECT_EQ(s().Text2.text, u"");

    win.Combo1->setFocus();
    commit(win.Combo1, QStringLiteral("a") + JisForms);
    EXPECT_EQ(s().Combo1.text, u"a" + Cp932Forms);
    EXPECT_EQ(win.Combo1->currentText(), ui::qs(s().Combo1.text));
    win.Combo1->lineEdit()->undo();
    EXPECT_EQ(s().Combo1.text, u"");
}

} // namespace
} // namespace test
