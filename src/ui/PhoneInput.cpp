#include "ui/PhoneInput.h"

#include "core/text/PhoneText.h"
#include "ui/Convert.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

namespace ui {

PhoneInput::PhoneInput(QLineEdit* edit, bool emoji, QWidget* keySource) : QObject(edit), m_edit(edit), m_emoji(emoji) {
    edit->installEventFilter(this);
    if (keySource)
        keySource->installEventFilter(this);
}

bool PhoneInput::rewrite(QString& text) const {
    if (text.isEmpty())
        return false;
    std::optional<core::PhoneText> fixed = core::phoneText(u16(text), m_emoji);
    if (!fixed)
        return false;
    text = qs(fixed->text);
    return true;
}

void PhoneInput::paste() {
    QString text = QGuiApplication::clipboard()->text();
    rewrite(text);
    if (!text.isEmpty() || m_edit->hasSelectedText())
        m_edit->insert(text);
}

// The rewritten copy goes to the box in place of the event, which takes on its outcome.
bool PhoneInput::resend(QObject* watched, QEvent* original, QEvent& copy) {
    m_resending = true;
    QCoreApplication::sendEvent(watched, &copy);
    m_resending = false;
    original->setAccepted(copy.isAccepted());
    return true;
}

bool PhoneInput::eventFilter(QObject* watched, QEvent* event) {
    if (m_resending || m_edit->isReadOnly())
        return false;
    switch (event->type()) {
    case QEvent::InputMethod: {
        auto* e = static_cast<QInputMethodEvent*>(event);
        QString commit = e->commitString();
        if (!rewrite(commit))
            return false;
        QInputMethodEvent copy(e->preeditString(), e->attributes());
        copy.setCommitString(commit, e->replacementStart(), e->replacementLength());
        return resend(watched, e, copy);
    }
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(event);
        if (e->matches(QKeySequence::Paste)) {
            QString text = QGuiApplication::clipboard()->text();
            if (!rewrite(text))
                return false;
            paste();
            return true;
        }
        QString text = e->text();
        if (!rewrite(text))
            return false;
        QKeyEvent copy(e->type(), e->key(), e->modifiers(), text, e->isAutoRepeat(), e->count());
        return resend(watched, e, copy);
    }
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        const QMimeData* data = e->mimeData();
        if (!data || data->hasUrls() || !data->hasText())
            return false;
        QString text = data->text();
        if (!rewrite(text))
            return false;
        QMimeData fixed;
        fixed.setText(text);
        QDropEvent copy(e->position(), e->possibleActions(), &fixed, e->buttons(), e->modifiers(), e->type());
        copy.setDropAction(e->dropAction());
        resend(watched, e, copy);
        e->setDropAction(copy.dropAction());
        return true;
    }
    case QEvent::ContextMenu: {
        if (watched != m_edit)
            return false;
        // The box's own menu, with its paste going through the same rewriting.
        QMenu* menu = m_edit->createStandardContextMenu();
        if (!menu)
            return false;
        // The entry carries no name: it is the one showing the paste shortcut.
        const QString pasteKey =
            QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        for (QAction* action : menu->actions())
            if (action->text().endsWith(pasteKey)) {
                disconnect(action, &QAction::triggered, nullptr, nullptr);
                connect(action, &QAction::triggered, this, [this] { paste(); });
            }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    default:
        return false;
    }
}

} // namespace ui
