// The message and input boxes themselves: where they open and how much of their text shows.
#include "ui/QtPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs `look` on the box once it shows, then closes it.
void whileShown(const std::function<void(QWidget*)>& look) {
    QTimer::singleShot(0, [look] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        look(box);
        if (auto* message = qobject_cast<QMessageBox*>(box))
            message->buttons().front()->click();
        else if (auto* dialog = qobject_cast<QDialog*>(box))
            dialog->reject();
    });
}

TEST(QtPrompts, BoxesLieInsideTheScreenAndShowEveryCharacter) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner;
    owner.setGeometry(area.right() - 150, area.top() + 10, 140, 100); // at the screen's edge
    owner.show();
    ui::QtPrompts prompts;
    prompts.setParentWidget(&owner);

    // A vertical body of one row far wider than the screen, under a question and header lines.
    const std::u16string row(160, u'あ');
    const std::u16string text = u"送信OK?\r\n\r\nTo: a@docomo.ne.jp\r\nSubject: t\r\n\r\n" + row + u"\r\n" + row;
    whileShown([&](QWidget* box) {
        EXPECT_TRUE(area.contains(box->frameGeometry())) << box->frameGeometry().x() << "," << box->width();
        auto* scrolled = box->findChild<QPlainTextEdit*>();
        ASSERT_NE(scrolled, nullptr);
        EXPECT_TRUE(scrolled->isVisible());
        EXPECT_EQ(scrolled->toPlainText(),
                  QString::fromStdU16String(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        EXPECT_EQ(scrolled->lineWrapMode(), QPlainTextEdit::NoWrap); // rows stay the phone's rows
        // As much of the screen as it needs, and it keeps that size once laid out.
        QApplication::processEvents();
        EXPECT_GE(box->width(), area.width() * 3 / 4);
        EXPECT_GE(scrolled->viewport()->height(), 4 * scrolled->fontMetrics().height());
        EXPECT_TRUE(area.contains(box->frameGeometry()));
    });
    prompts.question(u"送信確認", text, core::Buttons::YesNo, core::Icon::Question);

    // A short text shows whole in its label, the box over its owner but inside the screen.
    whileShown([&](QWidget* box) {
        EXPECT_TRUE(area.contains(box->frameGeometry()));
        EXPECT_EQ(box->findChild<QPlainTextEdit*>(), nullptr);
        // Wide enough for its whole title beside the title bar's icon and buttons, once laid out.
        QApplication::processEvents();
        EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(QStringLiteral("アドレス帳更新")) + 100);
    });
    prompts.message(u"アドレス帳更新", u"保存しました。", core::Icon::None);

    whileShown([&](QWidget* box) {
        EXPECT_TRUE(area.contains(box->frameGeometry()));
        EXPECT_GE(box->width(),
                  box->fontMetrics().horizontalAdvance(QStringLiteral("ことり便 とても長い題名の入力")) + 100);
    });
    prompts.input(u"?", u"ことり便 とても長い題名の入力", u"");
}

// Each button answers as its caption says, and Esc as the way out; the box shows the icon asked for.
TEST(QtPrompts, EachButtonGivesItsAnswer) {
    ui::QtPrompts prompts;
    const auto pressing = [&](core::Buttons buttons, const QString& caption, core::Icon icon = core::Icon::Question,
                              QMessageBox::Icon shown = QMessageBox::Question) {
        QTimer::singleShot(0, [caption, shown] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->icon(), shown);
            if (caption.isEmpty()) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* button : box->buttons())
                if (button->text() == caption) {
                    button->click();
                    return;
                }
            ADD_FAILURE() << "no button " << caption.toStdString();
            box->done(0);
        });
        return prompts.question(u"確認", u"よろしいですか？", buttons, icon);
    };
    EXPECT_EQ(pressing(core::Buttons::YesNo, QStringLiteral("はい(&Y)")), core::Answer::Yes);
    EXPECT_EQ(pressing(core::Buttons::YesNo, QStringLiteral("いいえ(&N)")), core::Answer::No);
    EXPECT_EQ(pressing(core::Buttons::YesNo, {}), core::Answer::No);
    EXPECT_EQ(pressing(core::Buttons::OkCancel, QStringLiteral("OK"), core::Icon::Exclamation, QMessageBox::Warning),
              core::Answer::Ok);
    EXPECT_EQ(pressing(core::Buttons::OkCancel, QStringLiteral("キャンセル")), core::Answer::Cancel);
    EXPECT_EQ(pressing(core::Buttons::OkCancel, {}), core::Answer::Cancel);
    EXPECT_EQ(pressing(core::Buttons::Ok, QStringLiteral("OK"), core::Icon::Critical, QMessageBox::Critical),
              core::Answer::Ok);
}

} // namespace
