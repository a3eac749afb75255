#include "ui/QtPrompts.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
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

TEST(QtPrompts, TextsKeepTheirOwnBreaksAndBoxesOpenWhereTheUserLooks) {
    ui::QtPrompts prompts;
    QWidget window;
    prompts.setParentWidget(&window);
    struct Shown {
        bool wraps = true;
        int labelWidth = 0, textWidth = 0;
        QPoint centre;
    } shown;
    const auto record = [&](QWidget* box) {
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        shown = {label->wordWrap(), label->width(), label->fontMetrics().size(0, label->text()).width(),
                 box->frameGeometry().center()};
        buttonWithText(box, QStringLiteral("OK"))->click();
    };
    // Before the window is shown (start-up): in the middle of the screen, long lines whole.
    whenBoxShows(record);
    prompts.message(u"諸注意",
                    u"1.縦書きは、文字数を多く使用するので、横書きの場合より、文字数制限がきつくなります。\r\n"
                    u"2.半角文字は、使えません。半角文字は、全角文字に自動で調整されますがプレビューが\r\n"
                    u"　おかしくなった場合は、半角部分を全角にしてみてください。",
                    core::Icon::Information);
    EXPECT_FALSE(shown.wraps);
    EXPECT_GE(shown.labelWidth, shown.textWidth);
    const QPoint screen = window.screen()->availableGeometry().center();
    EXPECT_LE((shown.centre - screen).manhattanLength(), 4);

    // Once the window is up: over the window.
    window.setGeometry(40, 50, 600, 400);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    whenBoxShows(record);
    prompts.message(u"", u"ご利用ありがとうございます。\r\nことり便 Plus! バージョン0.5.3", core::Icon::Information);
    EXPECT_LE((shown.centre - window.frameGeometry().center()).manhattanLength(), 4);
}

} // namespace
