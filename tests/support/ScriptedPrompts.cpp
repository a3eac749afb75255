#include "ScriptedPrompts.h"

#include "platform/Paths.h"

#include <gtest/gtest.h>

namespace test {

namespace {

const char* kindName(int kind) {
    static const char* const names[] = {"question", "message", "input"};
    return names[kind];
}

const char* buttonsName(core::Buttons b) {
    switch (b) {
    case core::Buttons::Ok:
        return "OK";
    case core::Buttons::YesNo:
        return "Yes/No";
    case core::Buttons::OkCancel:
        return "OK/Cancel";
    }
    return "?";
}

} // namespace

std::string show(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c == u'\r')
            out += "\\r";
        else if (c == u'\n')
            out += "\\n";
        else if (c == u'\t')
            out += "\\t";
        else
            out += platform::toUtf8(std::u16string_view(&c, 1));
    }
    return out;
}

ScriptedPrompts::~ScriptedPrompts() {
    verify();
}

ScriptedPrompts& ScriptedPrompts::question(std::u16string title, std::u16string text, core::Buttons buttons,
                                           core::Answer answer) {
    m_expected.push_back({Kind::Question, std::move(title), std::move(text), {}, buttons, answer, {}});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::message(std::u16string title, std::u16string text) {
    m_expected.push_back(
        {Kind::Message, std::move(title), std::move(text), {}, core::Buttons::Ok, core::Answer::Ok, {}});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::input(std::u16string prompt, std::u16string title, std::u16string defaultText,
                                        std::u16string answer) {
    m_expected.push_back({Kind::Input, std::move(title), std::move(prompt), std::move(defaultText), core::Buttons::Ok,
                          core::Answer::Ok, std::move(answer)});
    return *this;
}

void ScriptedPrompts::verify() {
    for (const auto& e : m_expected)
        ADD_FAILURE() << "expected " << kindName(static_cast<int>(e.kind)) << " never came:\n  title: " << show(e.title)
                      << "\n  text:  " << show(e.text);
    m_expected.clear();
}

const ScriptedPrompts::Expected* ScriptedPrompts::next(Kind kind, std::u16string_view title, std::u16string_view text,
                                                       core::Buttons buttons, std::u16string_view defaultText) {
    std::string asked = std::string(kindName(static_cast<int>(kind))) + " [" + buttonsName(buttons) +
                        "]\n  title: " + show(title) + "\n  text:  " + show(text) +
                        (kind == Kind::Input ? "\n  default: " + show(defaultText) : std::string());
    if (onPrompt)
        onPrompt();
    if (m_expected.empty()) {
        ADD_FAILURE() << "unexpected " << asked;
        return nullptr;
    }
    m_current = m_expected.front();
    m_expected.pop_front();
    const Expected& e = m_current;
    bool same = e.kind == kind && e.title == title && e.text == text &&
                (kind != Kind::Question || e.buttons == buttons) &&
                (kind != Kind::Input || e.defaultText == defaultText);
    if (!same) {
        ADD_FAILURE() << "prompt differs from the script\n expected " << kindName(static_cast<int>(e.kind)) << " ["
                      << buttonsName(e.buttons) << "]\n  title: " << show(e.title) << "\n  text:  " << show(e.text)
                      << (e.kind == Kind::Input ? "\n  default: " + show(e.defaultText) : std::string()) << "\n got "
                      << asked;
    }
    return &e;
}

core::Answer ScriptedPrompts::question(std::u16string_view title, std::u16string_view text, core::Buttons buttons,
                                       core::Icon) {
    const Expected* e = next(Kind::Question, title, text, buttons, {});
    if (e && e->kind == Kind::Question)
        return e->answer;
    return buttons == core::Buttons::YesNo ? core::Answer::No : core::Answer::Cancel;
}

void ScriptedPrompts::message(std::u16string_view title, std::u16string_view text, core::Icon) {
    next(Kind::Message, title, text, core::Buttons::Ok, {});
}

std::u16string ScriptedPrompts::input(std::u16string_view prompt, std::u16string_view title,
                                      std::u16string_view defaultText) {
    const Expected* e = next(Kind::Input, title, prompt, core::Buttons::Ok, defaultText);
    if (e && e->kind == Kind::Input)
        return e->inputAnswer;
    return {};
}

} // namespace test
