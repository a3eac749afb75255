// The emoji commands and the registry window in the real windows, and emoji drawn as pictures.
#include "WindowTest.h"

#include "core/text/EmojiRegistry.h"
#include "ui/EmojiFonts.h"
#include "ui/QtPrompts.h"
#include "ui/RegistryWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QMenu>
#include <QTextLayout>
#include <QTimer>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QMenu>
#include <QTextLayout>

namespace test {
namespace {

class EmojiWindowTest : public WindowTest {};

TEST_F(EmojiWindowTest, TheEmojiMenusKeywordsLineUp) {
    programFile("Emoji.code", u"\uE63E\thare\r\n\uE6EC\tハート\r\n\uE63F\t曇り空\r\n\uE70C\tabc\r\n");
    start();
    // The i-mode emoji draw with the program's own fonts, which no system font replaces.
    EXPECT_TRUE(QFontMetrics(w().Text1->font()).inFontUcs4(0xE63E));
    EXPECT_EQ(ui::emojiFamilies().size(), 2); // the pictures, and the codes where there is none
    // And draw as pictures in colour once the body and the preview hold one (a font drawn
    // unshaped loses them); without one the boxes' text goes unshaped, and back when it goes.
    const auto colouredIn = [](const QFont& font) {
        QImage drawn(64, 32, QImage::Format_ARGB32);
        drawn.fill(Qt::white);
        QPainter painter(&drawn);
        painter.setFont(font);
        painter.drawText(QRect(0, 0, 64, 32), 0, QString(QChar(0xE63E)));
        painter.end();
        int coloured = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) {
                const QRgb c = drawn.pixel(x, y);
                coloured += qRed(c) != qGreen(c) || qGreen(c) != qBlue(c);
            }
        return coloured;
    };
    const auto unshaped = [](const QWidget* box) { return box->font().styleStrategy() & QFont::PreferNoShaping; };
    w().Text1->setFocus();
    type(w().Text1, QStringLiteral("晴れ"));
    EXPECT_TRUE(unshaped(w().Text1));
    EXPECT_TRUE(unshaped(w().Text3));
    type(w().Text1, QString(QChar(0xE63E)));
    EXPECT_FALSE(unshaped(w().Text1));
    EXPECT_FALSE(unshaped(w().Text3));
    EXPECT_GT(colouredIn(w().Text1->font()), 20);
    EXPECT_GT(colouredIn(w().Text3->font()), 20);
    key(w().Text1, Qt::Key_Backspace);
    EXPECT_EQ(s().Text1.text, u"晴れ");
    EXPECT_TRUE(unshaped(w().Text1));
    EXPECT_TRUE(unshaped(w().Text3));
    ASSERT_EQ(w().PutChar.size(), 4u);
    std::vector<double> starts;
    for (QAction* a : w().PutChar) {
        // Where the keyword starts, laid out as the menu lays out the whole caption.
        const QString caption = a->text();
        QTextLayout layout(caption, w().Mnucode->font());
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        starts.push_back(line.cursorToX(caption.indexOf(QLatin1Char('=')) + 4));
    }
    for (double x : starts)
        EXPECT_NEAR(x, starts.front(), 1.0) << starts[0] << " " << starts[1] << " " << starts[2] << " " << starts[3];
}

TEST_F(EmojiWindowTest, TheRegistryWindowsBoxesOpenOverIt) {
    start();
    w().move(0, 0);
    ui::QtPrompts boxes; // the editor's own boxes, owned by the main window
    boxes.setParentWidget(&w());
    core::EditorEmojiBody body{*editor};
    ui::RegistryWindow form(boxes, body, editor->programFile(u"Emoji.code"), &w());
    form.move(300, 150);
    form.show();
    QRect box;
    QTimer::singleShot(0, [&] {
        if (auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box = shown->frameGeometry();
            shown->buttons().front()->click();
        }
    });
    QTest::mouseClick(form.Command1, Qt::LeftButton); // 登録 with nothing to register: a message
    EXPECT_TRUE(form.frameGeometry().contains(box.center())) << box.x() << "," << box.y();
}

TEST_F(EmojiWindowTest, TheRegistryWindowRegistersSavesAndPutsIntoTheBody) {
    programFile("Emoji.code", u"\uE63E\thare\r\n");
    start();
    ui::MainWindow& win = w();
    win.mojio->trigger();
    QPointer<ui::RegistryWindow> form = win.registryWindow();
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("文字コード登録登録数：1"));
    EXPECT_EQ(form->List1->count(), 1);

    // The code browser follows the keys: arrows, a page of ten, the ends.
    EXPECT_EQ(form->HScroll1->focusPolicy(), Qt::StrongFocus);
    form->HScroll1->setValue(0);
    QTest::keyClick(form->HScroll1, Qt::Key_Right);
    QTest::keyClick(form->HScroll1, Qt::Key_PageDown);
    EXPECT_EQ(form->Label1->text(), QStringLiteral("記号011"));
    QTest::keyClick(form->HScroll1, Qt::Key_End);
    EXPECT_EQ(form->HScroll1->value(), form->HScroll1->maximum());
    QTest::keyClick(form->HScroll1, Qt::Key_Home);
    EXPECT_EQ(form->Label1->text(), QStringLiteral("記号000"));

    form->HScroll1->setValue(94); // F940
    EXPECT_EQ(form->Label1->text(), QStringLiteral("記号094"));
    EXPECT_EQ(form->Text1->text(), QStringLiteral("\uE69C"));
    form->Text2->setFocus();
    type(form->Text2, QStringLiteral("ten"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    EXPECT_EQ(form->List1->count(), 2);
    EXPECT_EQ(form->List1->currentRow(), 1);
    // The arrows move the selected row, the selection with it.
    QTest::mouseClick(form->Command4[0], Qt::LeftButton);
    EXPECT_EQ(form->List1->currentRow(), 0);
    EXPECT_TRUE(form->List1->item(0)->text().contains(QStringLiteral("ten")));
    QTest::mouseClick(form->Command4[1], Qt::LeftButton);
    EXPECT_EQ(form->List1->currentRow(), 1);
    QTest::mouseClick(form->Command2[3], Qt::LeftButton); // 適用
    EXPECT_EQ(folder.read("Emoji.code"), std::string("\xF8\x9F\thare\r\n\xF9\x40\tten\r\n"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("文字コード登録登録数：2"));

    // "本文 記入": to the end of the body, whatever the caret.
    win.Text1->setFocus();
    type(win.Text1, QStringLiteral("ab"));
    key(win.Text1, Qt::Key_Home);
    QTest::mouseClick(form->Command2[2], Qt::LeftButton);
    EXPECT_EQ(shownBody(), u"ab\uE69C");
    EXPECT_EQ(s().usedEmoji, u"\uE69C");

    // Changes since applying are asked about on closing; No discards them.
    QTest::mouseClick(form->Command2[0], Qt::LeftButton); // 削除
    prompts
        .question(u"保存確認", u"変更があります。文字コードを保存して終了しますか？", core::Buttons::YesNo,
                  core::Answer::No)
        .message(std::u16string(core::AppTitle), u"ことり便のメニューに表示されるのは、上から20個までです。");
    QTest::mouseClick(form->Command2[5], Qt::LeftButton); // ＯＫ
    prompts.verify();
    QTest::qWait(10);
    EXPECT_FALSE(form);
    EXPECT_EQ(folder.read("Emoji.code"), std::string("\xF8\x9F\thare\r\n\xF9\x40\tten\r\n"));
    win.mojio->trigger(); // a new window from the file
    form = win.registryWindow();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->List1->count(), 2);

    // Closing the main window closes this one first, with its own question.
    form->List1->setCurrentRow(0);
    QTest::mouseClick(form->Command2[0], Qt::LeftButton);
    prompts
        .question(u"保存確認", u"変更があります。文字コードを保存して終了しますか？", core::Buttons::YesNo,
                  core::Answer::Yes)
        .message(std::u16string(core::AppTitle), u"ことり便のメニューに表示されるのは、上から20個までです。")
        .question(u"終了確認", u"編集中の内容は、破棄されてしまいますが終了してもよろしいですか？",
                  core::Buttons::YesNo, core::Answer::Yes); // the body was changed
    win.close();
    prompts.verify();
    EXPECT_TRUE(win.ended());
    EXPECT_EQ(folder.read("Emoji.code"), std::string("\xF9\x40\tten\r\n"));
}

} // namespace
} // namespace test
