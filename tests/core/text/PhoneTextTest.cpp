// Text from input methods and emoji pickers in the forms the phone's code page carries.
#include "TextFixture.h"

#include "core/text/EmojiSources.h"
#include "core/text/PhoneText.h"

namespace {

using core::phoneText;

std::u16string phone(std::u16string_view text, bool emoji = true) {
    auto fixed = phoneText(text, emoji);
    return fixed ? fixed->text : std::u16string(text);
}

// What typing and pasting into the editor below do not reach. The JIS forms, sun and smile
// emoji and a plain keycap are checked there.
TEST(PhoneText, UnicodeEmojiBecomeIModeEmoji) {
    // Keycaps with the emoji selector; a bare "#" or digit stays.
    EXPECT_EQ(phone(u"1#\uFE0F\u20E32"), u"1\uE6E0"
                                         u"2");
    EXPECT_EQ(phone(u"#1\u00A9"), u"#1\u00A9"); // a symbol code page 932 carries stays
    EXPECT_EQ(phone(u"\u00A9\uFE0F"), u"\uE731");
    EXPECT_EQ(phone(u"あいう\u00A9\uFE0F"), u"あいう\uE731"); // what comes before stays
    // The phone has no skin tones; stray selectors are dropped.
    EXPECT_EQ(phone(u"\u270C\U0001F3FD\u3042\uFE0F"), u"\uE694\u3042");
    // Without a counterpart the emoji stays (and goes as "?").
    EXPECT_FALSE(phoneText(u"\U0001F60A\U0002000B", true));
}

// The window rewrites what undo and redo bring back, and the editor every edit's neighbourhood:
// rewritten text must stay as it is, whatever pieces of emoji it mixes.
TEST(PhoneText, RewrittenTextStaysAsItIs) {
    // Each surrogate half is a piece of its own.
    const std::u16string pieces = u"#1a\uFE0F\uFE0E\u20E3\U0001F603\U0001F3FD\u301C\u2600\u270C\u00A9\uE63E";
    std::uint32_t seed = 13;
    for (int round = 0; round < 20000; ++round) {
        std::u16string text;
        for (int k = 0; k < 6; ++k) {
            seed = seed * 1664525u + 1013904223u;
            text += pieces[(seed >> 16) % pieces.size()];
        }
        for (bool emoji : {true, false}) {
            auto fixed = phoneText(text, emoji);
            if (fixed) {
                EXPECT_FALSE(phoneText(fixed->text, emoji)) << round;
            }
        }
    }
}

// The editor's entry points: typing, pasting, loading, the title and the destination.
class BodyPhoneTextTest : public TextTest {};

TEST_F(BodyPhoneTextTest, TypedPastedAndLoadedTextIsRewrittenWithinItsEdit) {
    type(u"あ ～\uE63E");
    EXPECT_EQ(view.bodyEdits, 0); // text the phone takes as it is: no rewriting
    editor.setBody(u"");
    view.bodyEdits = 0;
    type(u"\u301Ca\u301C");
    EXPECT_EQ(editor.s.Text1.text, u"\uFF5Ea\uFF5E");
    EXPECT_EQ(editor.s.Label1.caption, u"2.5文字 (3)"); // 1 per wave dash
    EXPECT_EQ(view.bodyEdits, 2);                       // each typed one amended in the box

    editor.bodyEdited(1, 1, u"\u2600\uFE0F\u2212\U0001F603"); // pasted over the "a"
    EXPECT_EQ(editor.s.Text1.text, u"\uFF5E\uE63E\uFF0D\uE6F0\uFF5E");
    EXPECT_EQ(view.lastBodyText, u"\uE63E\uFF0D\uE6F0");
    EXPECT_EQ(editor.s.Text1.selStart, 4);
    EXPECT_EQ(editor.s.usedEmoji, u"\uE63E\uE6F0");
    EXPECT_EQ(editor.s.Text3.text, editor.s.Text1.text);

    // A keycap mark typed after its digit completes the emoji.
    editor.setBody(u"");
    editor.s.usedEmoji.clear();
    type(u"x#\u20E3");
    EXPECT_EQ(editor.s.Text1.text, u"x\uE6E0");
    EXPECT_EQ(editor.s.Text1.selStart, 2);
    EXPECT_EQ(editor.s.usedEmoji, u"\uE6E0");
    EXPECT_EQ(editor.s.Label1.caption, u"1.5文字 (2)");

    editor.setBody(u"\u2014\u2016\u203E");
    EXPECT_EQ(editor.s.Text1.text, u"\u2015\u2225\uFFE3");
}

// What the code page lacks and no emoji stands for stays as typed; a conversion that brings it
// next to what completes an emoji still has the emoji made.
TEST_F(BodyPhoneTextTest, AConversionThatCompletesAnEmojiHasItMade) {
    editor.setBody(u"1\u20E3");
    const std::u16string keycap = editor.s.Text1.text;
    ASSERT_NE(keycap, u"1\u20E3");
    editor.setBody(u"1 \u20E3");
    ASSERT_EQ(editor.s.Text1.text, u"1 \u20E3");
    editor.conversion(5);
    EXPECT_EQ(editor.s.Text1.text, keycap);
}

TEST_F(BodyPhoneTextTest, TitleAndDestination) {
    // A selection the box had no longer covers the same characters once rewritten: a caret.
    editor.s.Text2.selStart = 4; // after the "a"
    editor.s.Text2.selLength = 1;
    editor.titleChanged(u"\U0001F603\u301Ca\u2600");
    EXPECT_EQ(editor.s.Text2.text, u"\uE6F0\uFF5Ea\uE63E");
    EXPECT_EQ(editor.s.Text2.selStart, 3);
    EXPECT_EQ(editor.s.Text2.selLength, 0);
    editor.s.Combo1.selStart = 3;
    editor.s.Combo1.selLength = 1;
    editor.destinationTextChanged(u"a\u2212\u2600");
    EXPECT_EQ(editor.s.Combo1.text, u"a\uFF0D\u2600");
    EXPECT_EQ(editor.s.Combo1.selLength, 0);
}

} // namespace
