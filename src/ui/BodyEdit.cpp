#include "ui/BodyEdit.h"

#include <QKeyEvent>

#include <utility>

namespace ui {

core::BodyKey BodyEdit::bodyKey(const QKeyEvent& event) {
    core::BodyKey key;
    Qt::KeyboardModifiers mods = event.modifiers();
    key.ctrl = mods.testFlag(Qt::ControlModifier);
    key.shift = mods.testFlag(Qt::ShiftModifier);
    key.alt = mods.testFlag(Qt::AltModifier);
    int k = event.key();
    if (k == Qt::Key_Return || k == Qt::Key_Enter)
        key.kind = core::BodyKey::Enter;
    else if (k == Qt::Key_A)
        key.kind = core::BodyKey::LetterA;
    else if (k == Qt::Key_S)
        key.kind = core::BodyKey::LetterS;
    else if (k >= Qt::Key_0 && k <= Qt::Key_9) {
        key.kind = core::BodyKey::Digit;
        key.digit = k - Qt::Key_0;
    }
    return key;
}

void BodyEdit::keyPressEvent(QKeyEvent* event) {
    core::BodyKey key = bodyKey(*event);
    if (keyPressed && keyPressed(key)) {
        event->accept();
    } else {
        const bool was = std::exchange(m_takingKey, true);
        if (key.kind == core::BodyKey::Enter && (key.ctrl || key.shift || key.alt)) {
            // Shift+Enter would make a soft break inside the line; the body knows only CR LF.
            QKeyEvent plain(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            MarkedEdit::keyPressEvent(&plain);
            event->setAccepted(plain.isAccepted());
        } else {
            MarkedEdit::keyPressEvent(event);
        }
        m_takingKey = was;
    }
    if (keyDone)
        keyDone();
}

void BodyEdit::keyReleaseEvent(QKeyEvent* event) {
    MarkedEdit::keyReleaseEvent(event);
    if (keyReleased)
        keyReleased();
}

} // namespace ui
