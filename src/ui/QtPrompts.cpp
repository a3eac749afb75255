#include "ui/QtPrompts.h"

#include "ui/Convert.h"

#include <QInputDialog>
#include <QLabel>
#include <QGridLayout>
#include <QLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

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

// Room a title needs beside its text: the window's icon and buttons in the title bar.
constexpr int TitleBarExtra = 120;

QRect availableArea(QWidget* box, QWidget* owner) {
    QScreen* screen = owner ? owner->screen() : box->screen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

// The box's size at least as wide as its title, and never wider than the screen allows.
QSize fitTitle(const QWidget* box, QSize size, const QRect& area) {
    const int titleWidth = box->fontMetrics().horizontalAdvance(box->windowTitle()) + TitleBarExtra;
    size.setWidth(std::max(size.width(), std::min(titleWidth, area.width())));
    return size;
}

// Centred over the window once it is shown (in the middle of the screen before that), then moved
// as little as needed to lie wholly inside the screen's available area.
void place(QWidget* box, QWidget* owner, const QRect& area) {
    QRect frame = box->frameGeometry();
    frame.moveCenter(owner && owner->isVisible() ? owner->frameGeometry().center() : area.center());
    frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width())));
    frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height())));
    box->move(frame.topLeft());
}

// A message box whose text keeps its own line breaks and no others: as wide as its longest line.
// Text too large for the screen goes into a scrolling read-only area instead, still unwrapped, so
// every character (a vertical body's rows among them) can be read as it is.
class LineBox : public QMessageBox {
public:
    LineBox(Icon icon, const QString& title, const QString& text, QWidget* owner)
        : QMessageBox(icon, title, text, NoButton, owner), m_owner(owner) {}

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event); // sizes the box, wrapping long lines
        const QRect area = availableArea(this, m_owner);
        if (auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            label && text().contains(QLatin1Char('\n')) && !m_scrolling) {
            label->setWordWrap(false);
            label->setMinimumWidth(label->sizeHint().width());
            layout()->activate();
            const QSize whole = layout()->totalMinimumSize().expandedTo(size());
            // The frame and some margin stay inside the area too.
            const QSize room = area.size() - QSize(40, 80);
            if (whole.width() <= room.width() && whole.height() <= room.height())
                setFixedSize(whole);
            else
                scroll(label, room - (whole - label->sizeHint()));
        }
        m_size = fitTitle(this, size(), area);
        setFixedSize(m_size);
        place(this, m_owner, area);
    }

    bool event(QEvent* event) override {
        const bool handled = QMessageBox::event(event);
        // The message box sizes itself by its label on every layout request: the size chosen
        // when it showed stands.
        if (m_size.isValid() && event->type() == QEvent::LayoutRequest && size() != m_size)
            setFixedSize(m_size);
        return handled;
    }

private:
    // Shows the text in a read-only area at most `room` large, with scroll bars for the rest.
    void scroll(QLabel* label, const QSize& room) {
        auto* grid = qobject_cast<QGridLayout*>(layout());
        const int index = grid ? grid->indexOf(label) : -1;
        if (index < 0)
            return;
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(index, &row, &column, &rows, &columns);
        auto* area = new QPlainTextEdit(this);
        area->setObjectName(QStringLiteral("LongText"));
        area->setReadOnly(true);
        area->setLineWrapMode(QPlainTextEdit::NoWrap);
        area->setPlainText(text());
        const int bars = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * area->frameWidth() + 8;
        area->setMinimumSize(
            label->sizeHint().boundedTo(room.shrunkBy({0, 0, bars, bars})).grownBy({0, 0, bars, bars}));
        label->setMinimumWidth(0);
        label->hide();
        grid->addWidget(area, row, column, rows, columns);
        area->show();
        m_scrolling = true;
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        layout()->activate();
        setFixedSize(layout()->totalMinimumSize());
    }

    QWidget* m_owner;
    bool m_scrolling = false;
    QSize m_size; // chosen when shown
};

class InputBox : public QInputDialog {
public:
    explicit InputBox(QWidget* owner) : QInputDialog(owner), m_owner(owner) {}

protected:
    void showEvent(QShowEvent* event) override {
        QInputDialog::showEvent(event);
        const QRect area = availableArea(this, m_owner);
        const QSize size = fitTitle(this, this->size(), area);
        if (size != this->size()) {
            setMinimumWidth(size.width());
            resize(size);
        }
        place(this, m_owner, area);
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
    InputBox dialog(owner());
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
