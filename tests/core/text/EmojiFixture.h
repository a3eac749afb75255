#pragma once

#include "support/FakeView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"
#include "core/app/Editor.h"
#include "core/text/EmojiTable.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace test {

// The i-mode emoji of Shift_JIS F89F (hare: sunny), F8A0 (kumori: cloudy) and so on.
inline constexpr char16_t Hare = 0xE63E, Kumori = 0xE63F, Ame = 0xE640, Yuki = 0xE641;

inline std::u16string one(char16_t c) {
    return std::u16string(1, c);
}

// An editor whose program folder is a fresh temporary folder, with Emoji.code written by table().
class EmojiTest : public ::testing::Test {
protected:
    struct Clock : core::Clock {
        core::DateTime now() const override { return {2026, 12, 6, 12, 0, 0}; }
    };

    EmojiTest() : editor(prompts, clock, folder.core()) { editor.setView(&view); }

    // Emoji.code holding the rows (emoji, keyword) with a tab between, in code page 932.
    void table(const std::vector<std::pair<char16_t, std::u16string>>& rows) {
        std::u16string text;
        for (const auto& [emoji, keyword] : rows)
            text += one(emoji) + u"\t" + keyword + u"\r\n";
        folder.write("Emoji.code", platform::encodeCp932(text));
    }
    void body(std::u16string_view text, int selStart = 0, int selLength = 0) {
        editor.setBody(text);
        editor.bodySelectionChanged(selStart, selLength);
    }
    std::u16string& used() { return editor.s.usedEmoji; }

    TempFolder folder;
    ScriptedPrompts prompts;
    Clock clock;
    FakeView view;
    core::Editor editor;
};

} // namespace test

using test::EmojiTest;
