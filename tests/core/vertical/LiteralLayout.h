#pragma once

// The layout rules done the slow, obvious way (every replacement searches again from the
// start), to check the single-pass code against; and a prompt that answers alike.
#include "core/app/Prompts.h"
#include "core/vertical/VerticalConversion.h"

#include <optional>
#include <string>
#include <vector>

namespace literal {

// Forward conversion, answering the budget question; asked gets the question ("" when none).
core::VerticalResult vertical(const std::u16string& body, int columns, int rows, int mode, core::Answer answer,
                              std::u16string& asked);

std::optional<std::u16string> horizontal(std::u16string text, int modelColumns, int modelRows);

class SameAnswer : public core::Prompts {
public:
    explicit SameAnswer(core::Answer answer) : m_answer(answer) {}
    core::Answer question(std::u16string_view, std::u16string_view text, core::Buttons, core::Icon) override {
        asked.emplace_back(text);
        return m_answer;
    }
    void message(std::u16string_view, std::u16string_view, core::Icon) override {}
    std::u16string input(std::u16string_view, std::u16string_view, std::u16string_view) override { return {}; }
    std::vector<std::u16string> asked;

private:
    core::Answer m_answer;
};

} // namespace literal
