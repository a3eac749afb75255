#pragma once

#include "support/FakeView.h"
#include "support/ScriptedPrompts.h"
#include "core/app/Editor.h"
#include "core/app/Strings.h"

#include <gtest/gtest.h>

#include <string>

namespace test {

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

// An editor with scripted prompts and a recording view, in the i-mode-less design state.
class TextTest : public ::testing::Test {
protected:
    TextTest() : editor(prompts, clock, u"C:\\kotori") { editor.setView(&view); }

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
