#include "ui/QtPrompts.h"

#include "ui/Convert.h"

#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

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

// Over the window once it is shown; before that, in the middle of the screen.
void centre(QWidget* box, QWidget* owner) {
    QRect area = owner && owner->isVisible() ? owner->frameGeometry() : box->screen()->availableGeometry();
    QRect frame = box->frameGeometry();
    frame.moveCenter(area.center());
    box->move(frame.topLeft());
}

// A message box whose text keeps its own line breaks and no others: as wide as its longest line.
class LineBox : public QMessageBox {
public:
    LineBox(Icon icon, const QString& title, const QString& text, QWidget* owner)
        : QMessageBox(icon, title, text, NoButton, owner), m_owner(owner) {}

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event); // sizes the box, wrapping long lines
        if (auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            label && text().contains(QLatin1Char('\n'))) {
            label->setWordWrap(false);
            label->setMinimumWidth(label->sizeHint().width());
            layout()->activate();
            setFixedSize(layout()->totalMinimumSize().expandedTo(size()));
        }
        centre(this, m_owner);
    }

private:
    QWidget* m_owner;
};

} // namespace

QWidget* QtPrompts::owner() const {
    // A box owned by a window not shown yet would open at that window's unplaced corner.
    return m_parent && m_parent->isVisible() ? m_parent.data() : nullptr;
}

void QtPrompts::beforeShow() {
    if (m_beforeShow)
        m_beforeShow();
}

core::Answer QtPrompts::question(std::u16string_view title, std::u16string_view text, core::Buttons buttons,
                                 core::Icon icon) {
    beforeShow();
    LineBox box(boxIcon(icon), boxTitle(title), displayText(text), owner());
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
    QInputDialog dialog(owner());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(boxTitle(title));
    dialog.setLabelText(displayText(prompt));
    dialog.setTextValue(qs(defaultText));
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    QTimer::singleShot(0, &dialog, [&dialog, this] { centre(&dialog, owner()); });
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return u16(dialog.textValue());
}

} // namespace ui
