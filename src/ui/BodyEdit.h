#pragma once

#include "core/app/Editor.h"

#include <QPlainTextEdit>

#include <functional>

namespace ui {

// The body box: hands its keys to the editor first; Enter always inserts a plain line break.
class BodyEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

    std::function<bool(const core::BodyKey&)> keyPressed; // true when the editor consumed the key
    std::function<void()> keyReleased;
    std::function<void()> keyDone; // after the box has taken the key's own edit

    static core::BodyKey bodyKey(const QKeyEvent& event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

} // namespace ui
