// Typing into the real window with the editor's text handling behind it.
#include "WindowTest.h"

#include "platform/Cp932.h"
#include "ui/TextMirror.h"
#include "ui/Colours.h"

#include <QApplication>
#include <QBackingStore>
#include <QClipboard>
#include <QFontMetricsF>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <cmath>
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
    win.Combo3->setCurrentIndex(0); // P501i: eight columns, nine rows
    // The nine rows fit the box's height: none scrolls out of sight.
    editor->setBody(std::u16string(71, u'あ'));
    QApplication::processEvents();
    EXPECT_EQ(win.Text3->verticalScrollBar()->maximum(), 0);
    editor->setBody({});
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
    // The send image shows the same rows, and the signature under them when it is on.
    editor->SignatureText = u"sig";
    s().signatureOn = true;
    QTest::mouseClick(win.Command5, Qt::LeftButton);
    EXPECT_EQ(shownPreview(), rows + u"\r\nsig");
}

// A row typed on the preview's screen is laid out at once; one typed off it is laid out with its
// new text when scrolled to.
TEST_F(TypingTest, PreviewRowsShowTheirTypedTextOnAndOffTheScreen) {
    start();
    ui::MainWindow& win = w();
    win.Combo3->setCurrentIndex(0); // eight columns, nine rows shown
    std::u16string body;
    for (int i = 0; i < 100; ++i)
        body += u"あ\r\n";
    editor->setBody(body);
    QApplication::processEvents();
    // Types at the end of a line, the second key while the preview shows its rows from `top`;
    // whether the preview's row is laid out with its new text as that keystroke ends.
    const auto typeInto = [&](int line, int top) {
        QTextCursor c = win.Text1->textCursor();
        c.setPosition(win.Text1->document()->findBlockByNumber(line).position() + 1);
        win.Text1->setTextCursor(c);
        win.Text1->setFocus();
        type(win.Text1, QStringLiteral("い"));
        QTest::qWait(100); // the preview's caret follows the edit after a pause
        win.Text3->verticalScrollBar()->setValue(top);
        win.Text3->viewport()->grab(); // the rows shown are laid out
        type(win.Text1, QStringLiteral("う"));
        const QTextLayout* layout = win.Text3->document()->findBlockByNumber(line).layout();
        return layout->lineCount() == 1 && layout->lineAt(0).textLength() == 3;
    };
    EXPECT_TRUE(typeInto(2, 0));
    // A row shown (after the pause), then typed into off the screen, is laid out when it shows.
    EXPECT_FALSE(typeInto(80, 0));
    const QTextBlock row = win.Text3->document()->findBlockByNumber(80);
    EXPECT_EQ(row.text(), QStringLiteral("あいう"));
    win.Text3->verticalScrollBar()->setValue(76);
    win.Text3->viewport()->grab();
    ASSERT_EQ(row.layout()->lineCount(), 1);
    EXPECT_EQ(row.layout()->lineAt(0).textLength(), 3);
    EXPECT_DOUBLE_EQ(row.layout()->lineAt(0).naturalTextWidth(),
                     QFontMetricsF(win.Text3->font()).horizontalAdvance(QStringLiteral("あいう")));
}

// After a pause in typing the preview shows its caret, where the body's is, even when the edit
// carried the caret along; scrolled away by the user, it stays until the preview changes again.
TEST_F(TypingTest, ThePreviewShowsWhereTheBodyIsTyped) {
    start();
    ui::MainWindow& win = w();
    win.Combo3->setCurrentIndex(0); // nine rows shown
    win.Text1->setFocus();
    const auto caretShown = [&] {
        QTest::qWait(100);
        return win.Text3->viewport()->rect().contains(win.Text3->cursorRect().center());
    };
    for (int i = 0; i < 30; ++i)
        type(win.Text1, QStringLiteral("row\n"));
    EXPECT_TRUE(caretShown());
    QScrollBar* bar = win.Text3->verticalScrollBar();
    EXPECT_GT(bar->value(), 0);
    bar->setValue(0);
    win.refresh(); // as after any event, the preview unchanged
    EXPECT_FALSE(caretShown());
    EXPECT_EQ(bar->value(), 0);
    type(win.Text1, QStringLiteral("Q"));
    EXPECT_TRUE(caretShown());
}

// The count and the banner, painted again only where their characters changed, show on the
// screen just as labels painted whole would.
TEST_F(TypingTest, TheCountShowsWholeAsTheBodyIsTyped) {
    programFile("Kotori.ini", u"Sei6=1\\11\r\nSei7=1\r\n");
    start();
    ui::MainWindow& win = w();
    prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::No);
    const auto shown = [&](QLabel* label) {
        QApplication::processEvents();
        const auto* screen = dynamic_cast<const QImage*>(win.backingStore()->paintDevice());
        const qreal ratio = screen->devicePixelRatio();
        const QRect at(label->mapTo(&win, QPoint(0, 0)) * ratio, label->size() * ratio);
        return screen->copy(at).convertToFormat(QImage::Format_RGB32);
    };
    const auto painted = [](QLabel* label) { return label->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    win.Text1->setFocus();
    for (const QString& keys : {QStringLiteral("12345678"), QStringLiteral("9"), QStringLiteral("0"),
                                QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("漢字漢字"),
                                QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}) {
        type(win.Text1, keys);
        // Past the limit the banner lies over the count.
        QLabel* banner = win.findChild<QLabel*>(QStringLiteral("Label5"));
        QLabel* label = banner->isVisible() ? banner : win.findChild<QLabel*>(QStringLiteral("Label1"));
        const QImage onScreen = shown(label);
        EXPECT_EQ(onScreen, painted(label)) << label->text().toStdString();
    }
}

// The box holds one separator a line break: an editor edit that starts or ends inside a CR LF,
// or joins a lone CR to an LF, takes the whole break with it.
TEST(TextMirror, EditsAtHalvesOfALineBreakShowWhole) {
    QPlainTextEdit box;
    ui::TextMirror mirror(&box);
    mirror.syncTo(u"a\r\nb");
    mirror.apply(2, 0, u"x");
    EXPECT_EQ(mirror.text(), u"a\rx\nb");
    EXPECT_EQ(box.toPlainText(), QStringLiteral("a\nx\nb"));
    mirror.apply(1, 1, u"");
    EXPECT_EQ(mirror.text(), u"ax\nb");
    EXPECT_EQ(box.toPlainText(), QStringLiteral("ax\nb"));
    mirror.syncTo(u"a\r");
    mirror.apply(2, 0, u"\nb");
    EXPECT_EQ(mirror.text(), u"a\r\nb");
    EXPECT_EQ(box.toPlainText(), QStringLiteral("a\nb"));
    // A position maps into the box alike near the start and far into a long text: a CR LF is
    // one separator, and a position inside one stands at it.
    for (int lead : {0, 5000}) {
        mirror.syncTo(std::u16string(static_cast<std::size_t>(lead), u'x') + u"a\r\nb\r\n\r\nc");
        const int expected[] = {0, 1, 1, 2, 3, 3, 4, 4, 5, 6};
        for (int pos = 0; pos < 10; ++pos)
            EXPECT_EQ(mirror.toDocument(lead + pos), lead + expected[pos]) << lead << " " << pos;
    }
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

// Where a box shows the excess on its light red back, in document positions; none: {-1, -1}.
std::pair<int, int> excessShown(ui::MarkedEdit* box) {
    const auto marks = box->marks();
    if (marks.empty())
        return {-1, -1};
    EXPECT_EQ(box->markColour(), ui::colours::Excess);
    return marks.front();
}

double luminance(const QColor& c) {
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// The excess over the limit shows on red in the body and the preview as the body changes,
// without touching the caret, the selection or undo; the count turns red; a long title's end
// shows on red too.
TEST_F(TypingTest, TheExcessShowsOnRedAsTheBodyChanges) {
    programFile("Kotori.ini", u"Sei6=1\\11\r\nSei7=1\r\n");
    start();
    ui::MainWindow& win = w();
    win.Combo3->setCurrentIndex(0); // eight columns
    const auto no = [&] {
        prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::No);
    };
    win.Text1->setFocus();
    type(win.Text1, QStringLiteral("ＡＢＣＤＥＦＧＨＩＪＫ")); // at the limit: nothing over
    EXPECT_EQ(excessShown(win.Text1), std::pair(-1, -1));
    EXPECT_EQ(win.Label1->palette().color(QPalette::WindowText), ui::colours::CountNear);
    no();
    type(win.Text1, QStringLiteral("Ｌ"));
    prompts.verify();
    EXPECT_EQ(excessShown(win.Text1), std::pair(11, 12));
    EXPECT_EQ(excessShown(win.Text3), std::pair(12, 13)); // after the preview's first row end
    const QImage preview = win.Text3->viewport()->grab().toImage();
    int red = 0;
    for (int y = 0; y < preview.height(); ++y)
        for (int x = 0; x < preview.width(); ++x)
            red += preview.pixelColor(x, y) == ui::colours::Excess;
    EXPECT_GT(red, 20);                                                      // painted behind the text
    EXPECT_EQ(win.Text1->textCursor().selectedText(), QStringLiteral("Ｌ")); // the kept excess, as before
    EXPECT_EQ(win.Label1->palette().color(QPalette::WindowText), ui::colours::CountOver);
    const QColor bar = win.Picture1->palette().color(QPalette::Window);
    for (const QColor& c : {ui::colours::CountNear, ui::colours::CountOver})
        EXPECT_GE((std::max(luminance(bar), luminance(c)) + 0.05) / (std::min(luminance(bar), luminance(c)) + 0.05),
                  4.5);

    // Pasted over the selected excess, then undone: the mark follows; undo takes back the paste.
    no();
    QApplication::clipboard()->setText(QStringLiteral("ab"));
    win.Text1->paste();
    QTest::qWait(5);
    EXPECT_EQ(excessShown(win.Text1), std::pair(11, 13));
    no();
    win.Text1->undo();
    QTest::qWait(5);
    prompts.verify();
    EXPECT_EQ(shownBody(), u"ＡＢＣＤＥＦＧＨＩＪＫＬ");
    EXPECT_EQ(excessShown(win.Text1), std::pair(11, 12));
    // The vertical preview marks the cell the excess went to.
    win.Check3->click();
    const auto cells = win.Text3->marks();
    ASSERT_EQ(cells.size(), 1u);
    QTextCursor cell(win.Text3->document());
    cell.setPosition(cells[0].first);
    cell.setPosition(cells[0].second, QTextCursor::KeepAnchor);
    EXPECT_EQ(cell.selectedText(), QStringLiteral("Ｌ"));
    win.Check3->click();

    // A conversion to half width brings the body under the limit: no mark, the count's own colour.
    win.nuki[6]->trigger();
    EXPECT_EQ(shownBody(), u"ABCDEFGHIJKL");
    EXPECT_EQ(excessShown(win.Text1), std::pair(-1, -1));
    EXPECT_EQ(excessShown(win.Text3), std::pair(-1, -1));
    EXPECT_EQ(win.Label1->palette().color(QPalette::WindowText), win.Picture1->palette().color(QPalette::WindowText));

    // The title from its 15th character.
    const auto redPixels = [&] {
        const QImage shot = win.Text2->grab().toImage();
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += shot.pixelColor(x, y) == ui::colours::Excess;
        return n;
    };
    win.Text2->setFocus();
    type(win.Text2, QString(14, QChar(0x984C)));
    EXPECT_EQ(redPixels(), 0);
    prompts.message(std::u16string(core::AppTitle), u"15文字以上は、危険です。");
    type(win.Text2, QStringLiteral("題"));
    prompts.verify();
    EXPECT_GT(redPixels(), 20);
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

// Shift+Enter with automatic replacement on: the keyword turns into its emoji as the key comes
// up, and the boxes show it.
TEST_F(TypingTest, AReplacementLeftByEnterShowsWhenTheKeyComesUp) {
    programFile("Emoji.code", u"\uE63E\thare\r\n");
    start();
    ui::MainWindow& win = w();
    win.Aouttikan->trigger();
    ASSERT_TRUE(s().Aouttikan.checked);
    win.Text1->setFocus();
    type(win.Text1, QStringLiteral("\\hare"));
    key(win.Text1, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(s().Text1.text, u"\uE63E\r\n");
    EXPECT_EQ(shownBody(), u"\uE63E\r\n");
    EXPECT_FALSE(editor->ReplacePending);
    EXPECT_EQ(win.Label1->text(), QString::fromStdU16String(s().Label1.caption)); // the count follows
}

} // namespace
} // namespace test
