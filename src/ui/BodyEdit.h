#pragma once

#include "core/app/Editor.h"

#include "ui/MarkedEdit.h"

#include <functional>

namespace ui {

// The body box: hands its keys to the editor first; Enter always inserts a plain line break.
class BodyEdit : public MarkedEdit {
    Q_OBJECT
public:
    using MarkedEdit::MarkedEdit;

    std::function<bool(const core::BodyKey&)> keyPressed; // true when the editor consumed the key
    std::function<void()> keyReleased;
    std::function<void()> keyDone; // after the box has taken the key's own edit

    static core::BodyKey bodyKey(const QKeyEvent& event);
    // Inside a key press, whose keyDone follows the box's own edit.
    bool takingKey() const { return m_takingKey; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool m_takingKey = false;
};

} // namespace ui
