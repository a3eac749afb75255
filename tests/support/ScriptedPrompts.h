#pragma once

#include "core/app/Prompts.h"

#include <deque>
#include <functional>
#include <string>

namespace test {

// Answers the core's questions from a script. Any prompt not expected next, or whose title,
// text, buttons or default differ, fails the test with a readable diff; expected prompts that
// never came fail it when the script is checked (verify() or destruction).
class ScriptedPrompts : public core::Prompts {
public:
    ~ScriptedPrompts() override;

    ScriptedPrompts& question(std::u16string title, std::u16string text, core::Buttons buttons, core::Answer answer);
    ScriptedPrompts& message(std::u16string title, std::u16string text);
    ScriptedPrompts& input(std::u16string prompt, std::u16string title, std::u16string defaultText,
                           std::u16string answer);

    // Runs as each prompt comes, before it is answered: what the user sees at that moment.
    std::function<void()> onPrompt;

    void verify(); // fails for every expected prompt still waiting, then forgets them
    bool done() const { return m_expected.empty(); }

    core::Answer question(std::u16string_view title, std::u16string_view text, core::Buttons buttons,
                          core::Icon icon) override;
    void message(std::u16string_view title, std::u16string_view text, core::Icon icon) override;
    std::u16string input(std::u16string_view prompt, std::u16string_view title,
                         std::u16string_view defaultText) override;

private:
    enum class Kind { Question, Message, Input };
    struct Expected {
        Kind kind;
        std::u16string title, text, defaultText;
        core::Buttons buttons = core::Buttons::Ok;
        core::Answer answer = core::Answer::Ok;
        std::u16string inputAnswer;
    };
    const Expected* next(Kind kind, std::u16string_view title, std::u16string_view text, core::Buttons buttons,
                         std::u16string_view defaultText);
    std::deque<Expected> m_expected;
    Expected m_current;
};

// UTF-8 with CR and LF made visible, for failure messages.
std::string show(std::u16string_view text);

} // namespace test
