#pragma once

#include "support/FakeView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"
#include "core/app/Editor.h"
#include "core/app/Strings.h"
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

class FixedClock : public core::Clock {
public:
    core::DateTime now() const override { return {2026, 12, 6, 12, 0, 0}; }
};

// A view that also keeps its own copy of the preview box, built only from the edits it is told.
class PreviewView : public FakeView {
public:
    void previewReplaced(int pos, int removed, std::u16string_view text) override {
        FakeView::previewReplaced(pos, removed, text);
        preview.replace(static_cast<std::size_t>(pos), static_cast<std::size_t>(removed), text);
        lastPreviewEdit = {pos, removed, static_cast<int>(text.size())};
    }
    void bodyReplaced(int pos, int removed, std::u16string_view text) override {
        FakeView::bodyReplaced(pos, removed, text);
        lastBodyText = text;
    }
    std::u16string preview, lastBodyText;
    struct {
        int pos = -1, removed = -1, added = -1;
    } lastPreviewEdit;
};

// An editor with scripted prompts and a recording view, in the i-mode-less design state, on a
// fresh program folder.
class TextTest : public ::testing::Test {
protected:
    TextTest() : editor(prompts, clock, folder.core()) { editor.setView(&view); }

    // Types the text at the caret, one character per edit, as the body box reports it.
    void type(std::u16string_view text) {
        for (char16_t c : text) {
            int caret = editor.s.Text1.selStart;
            editor.bodyEdited(caret, 0, std::u16string_view(&c, 1));
        }
    }

    // Sets the limit through the option box, answering the question.
    void limitTo(int limit) {
        prompts.input(u"制限する文字数を入力してください。", u"制限文字数", u"256", core::ascii(std::to_string(limit)));
        editor.setOptionBox(6, true);
        prompts.verify();
        ASSERT_EQ(editor.CharLimit, limit);
    }

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
    FixedClock clock;
    PreviewView view;
    core::Editor editor;
};

inline std::u16string repeat(std::u16string_view unit, int times) {
    std::u16string out;
    for (int i = 0; i < times; ++i)
        out += unit;
    return out;
}

} // namespace test

using test::TextTest;
// The emoji commands' tests, on the same editor.
class EmojiTest : public TextTest {};
