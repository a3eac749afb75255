#include "ui/QtPrompts.h"

#include "ui/Convert.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace ui {

namespace {

QMessageBox::Icon boxIcon(core::Icon icon) {
    switch (icon) {
    case core::Icon::Information:
        return QMessageBox::Information;
    case core::Icon::Question:
        return QMessageBox::Question;
    case core::Icon::Exclamation:
        return QMessageBox::Warning;
    case core::Icon::Critical:
        return QMessageBox::Critical;
    case core::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString boxTitle(std::u16string_view title) {
    return qs(title.empty() ? core::AppTitle : title);
}

} // namespace

void QtPrompts::beforeShow() {
    if (m_beforeShow)
        m_beforeShow();
}

core::Answer QtPrompts::question(std::u16string_view title, std::u16string_view text, core::Buttons buttons,
                                 core::Icon icon) {
    beforeShow();
    QMessageBox box(boxIcon(icon), boxTitle(title), displayText(text), QMessageBox::NoButton, m_parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    switch (buttons) {
    case core::Buttons::YesNo:
        yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        break;
    case core::Buttons::OkCancel:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(cancel);
        break;
    case core::Buttons::Ok:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        break;
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (buttons == core::Buttons::YesNo)
        return clicked == yes ? core::Answer::Yes : core::Answer::No;
    if (buttons == core::Buttons::OkCancel)
        return clicked == ok ? core::Answer::Ok : core::Answer::Cancel;
    return core::Answer::Ok;
}

void QtPrompts::message(std::u16string_view title, std::u16string_view text, core::Icon icon) {
    question(title, text, core::Buttons::Ok, icon);
}

std::u16string QtPrompts::input(std::u16string_view prompt, std::u16string_view title,
                                std::u16string_view defaultText) {
    beforeShow();
    QInputDialog dialog(m_parent);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(boxTitle(title));
    dialog.setLabelText(displayText(prompt));
    dialog.setTextValue(qs(defaultText));
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return u16(dialog.textValue());
}

} // namespace ui
