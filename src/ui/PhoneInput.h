#pragma once

#include <QObject>

class QEvent;
class QLineEdit;

namespace ui {

// Puts what enters a one-line box (typed, committed by an input method, pasted, dropped) into
// the forms the phone's code page carries before the box takes it, so the box's own undo keeps
// one step per entry: a line edit cannot fold a later correction into the step it corrects.
// The editor applies the same rule to every text it is given.
class PhoneInput : public QObject {
    Q_OBJECT
public:
    // Watches the box, and the widget that hands it its keys (an editable combo box) when given.
    PhoneInput(QLineEdit* edit, bool emoji, QWidget* keySource = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool rewrite(QString& text) const;
    bool resend(QObject* watched, QEvent* original, QEvent& copy);
    void paste();

    QLineEdit* m_edit;
    bool m_emoji;
    bool m_resending = false;
};

} // namespace ui
