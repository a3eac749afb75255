#pragma once

#include "core/app/Prompts.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace ui {

// Message and input boxes for the core, with the program's own button texts.
class QtPrompts : public core::Prompts {
public:
    void setParentWidget(QWidget* parent) { m_parent = parent; }
    // Runs before every box, so the window shows the current state behind the question.
    void setBeforeShow(std::function<void()> hook) { m_beforeShow = std::move(hook); }

    core::Answer question(std::u16string_view title, std::u16string_view text, core::Buttons buttons,
                          core::Icon icon) override;
    void message(std::u16string_view title, std::u16string_view text, core::Icon icon) override;
    std::u16string input(std::u16string_view prompt, std::u16string_view title,
                         std::u16string_view defaultText) override;

private:
    void beforeShow();
    QWidget* owner() const;

    QPointer<QWidget> m_parent;
    std::function<void()> m_beforeShow;
};

} // namespace ui
