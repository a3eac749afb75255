#include "ui/QtPrompts.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Acts on the next modal box once it is up.
void whenBoxShows(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        act(box);
    });
}

QPushButton* buttonWithText(QWidget* box, const QString& text) {
    for (QPushButton* b : box->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

QStringList buttonTexts(QWidget* box) {
    QStringList texts;
    for (QPushButton* b : box->findChildren<QPushButton*>())
        texts << b->text();
    texts.sort();
    return texts;
}

TEST(QtPrompts, BoxesUseTheProgramsButtonsAndMirrorTheWindowFirst) {
    ui::QtPrompts prompts;
    int mirrored = 0;
    prompts.setBeforeShow([&] { ++mirrored; });

    QString title, text;
    QStringList buttons;
    whenBoxShows([&](QWidget* box) {
        title = box->windowTitle();
        text = static_cast<QMessageBox*>(box)->text();
        buttons = buttonTexts(box);
        buttonWithText(box, QStringLiteral("いいえ(&N)"))->click();
    });
    EXPECT_EQ(prompts.question(u"文字削除", u"overした分を削除しますか？\r\n次行", core::Buttons::YesNo,
                               core::Icon::Question),
              core::Answer::No);
    EXPECT_EQ(mirrored, 1);
    EXPECT_EQ(title, QStringLiteral("文字削除"));
    EXPECT_EQ(text, QStringLiteral("overした分を削除しますか？\n次行"));
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)")}));

    whenBoxShows([&](QWidget* box) {
        buttons = buttonTexts(box);
        buttonWithText(box, QStringLiteral("キャンセル"))->click();
    });
    EXPECT_EQ(prompts.question(u"t", u"q", core::Buttons::OkCancel, core::Icon::None), core::Answer::Cancel);
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("キャンセル")}));

    // An untitled message carries the program's own title.
    whenBoxShows([&](QWidget* box) {
        title = box->windowTitle();
        buttons = buttonTexts(box);
        buttonWithText(box, QStringLiteral("OK"))->click();
    });
    prompts.message(u"", u"ご利用ありがとうございます。", core::Icon::Information);
    EXPECT_EQ(title, QStringLiteral("ことり便"));
    EXPECT_EQ(buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(mirrored, 3);
}

TEST(QtPrompts, InputGivesTheAnswerOrNothingWhenCancelled) {
    ui::QtPrompts prompts;
    QString shown;
    whenBoxShows([&](QWidget* box) {
        auto* dialog = static_cast<QInputDialog*>(box);
        shown = dialog->windowTitle() + QLatin1Char('|') + dialog->labelText() + QLatin1Char('|') + dialog->textValue();
        dialog->setTextValue(QStringLiteral("300"));
        dialog->accept();
    });
    EXPECT_EQ(prompts.input(u"制限する文字数を入力してください。", u"制限文字数", u"256"), u"300");
    EXPECT_EQ(shown, QStringLiteral("制限文字数|制限する文字数を入力してください。|256"));

    whenBoxShows([&](QWidget* box) {
        EXPECT_NE(buttonWithText(box, QStringLiteral("キャンセル")), nullptr);
        static_cast<QInputDialog*>(box)->reject();
    });
    EXPECT_EQ(prompts.input(u"p", u"t", u"256"), u"");
}

} // namespace
