// Text from input methods, the clipboard and drops arriving in the window's boxes.
#include "WindowTest.h"

#include "ui/Convert.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
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

    win.Combo1->setFocus();
    commit(win.Combo1, QStringLiteral("a") + JisForms);
    EXPECT_EQ(s().Combo1.text, u"a" + Cp932Forms);
    EXPECT_EQ(win.Combo1->currentText(), ui::qs(s().Combo1.text));
    win.Combo1->lineEdit()->undo();
    EXPECT_EQ(s().Combo1.text, u"");
}

TEST_F(PhoneInputWindowTest, PastedTypedAndDroppedTextIsRewritten) {
    start();
    ui::MainWindow& win = w();
    QGuiApplication::clipboard()->setText(JisForms + QString::fromUtf16(u"#\uFE0F\u20E3"));
    win.Text1->setFocus();
    key(win.Text1, Qt::Key_V, Qt::ControlModifier);
    QTest::qWait(1);
    EXPECT_EQ(shownBody(), Cp932Forms + u"\uE6E0");
    EXPECT_EQ(s().Text1.text, shownBody());
    win.Text1->undo();
    EXPECT_EQ(s().Text1.text, u"");

    win.Text2->setFocus();
    key(win.Text2, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(win.Text2->text(), ui::qs(Cp932Forms + u"\uE6E0"));
    win.Text2->undo();
    EXPECT_EQ(win.Text2->text(), QString());
    type(win.Text2, QString::fromUtf16(u"x\u2014")); // a key whose text is an em dash
    EXPECT_EQ(s().Text2.text, u"x\u2015");

    QMimeData data;
    data.setText(QString::fromUtf16(u"\u301C"));
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(win.Combo1->lineEdit(), &enter);
    QCoreApplication::sendEvent(win.Combo1->lineEdit(), &drop);
    EXPECT_EQ(win.Combo1->lineEdit()->text(), QString::fromUtf16(u"\uFF5E"));
    EXPECT_EQ(s().Combo1.text, u"\uFF5E");
}

} // namespace
} // namespace test
