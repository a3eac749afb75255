#include "TextFixture.h"

#include "core/text/NumberFormat.h"
#include "core/text/WeightedCount.h"

#include <utility>

TEST_F(TextTest, CountDisplayFollowsEveryEdit) {
    editor.setBody(u"");
    EXPECT_EQ(editor.s.Label1.caption, u"0.0文字 (0)");
    EXPECT_TRUE(editor.s.modified); // Modified

    type(u"あいうabc");
    EXPECT_EQ(editor.s.Label1.caption, u"4.5文字 (6)");
    editor.s.Check2.checked = true; // the cost shows with the i-mode setting
    editor.bodyEdited(6, 0, u"");
    EXPECT_EQ(editor.s.Label1.caption, u"\\≒0.1円 4.5文字 (6)");

    editor.setBody(test::repeat(u"漢", 1000));
    EXPECT_EQ(editor.s.Label1.caption, u"\\≒16.2円 1000.0文字 (1000)"); // 16.15, stored just below it

    editor.s.Check2.checked = false;
    editor.setBody(u"a\r\nb");
    EXPECT_EQ(editor.s.Label1.caption, u"2.0文字 (4)");
    // Nothing in Shift_JIS: each unit a one-byte substitute; phone emoji weigh two bytes.
    editor.setBody(u"\uAC00\U0001F600\uE63E");
    EXPECT_EQ(editor.s.Label1.caption, u"2.5文字 (4)");
}

TEST_F(TextTest, CountStaysRightThroughEditsAndOutsideChanges) {
    auto expectCounted = [&](const char* step) {
        const std::u16string& body = editor.s.Text1.text;
        EXPECT_EQ(editor.s.Label1.caption, core::countDisplay(core::weightedCount(body), body.size(), false)) << step;
    };
    type(u"漢字とascii\r\n");
    expectCounted("typed");
    editor.bodyEdited(2, 3, u"ｶﾀｶﾅ");
    expectCounted("replaced across kinds");
    editor.replaceBody(0, 1, u"");
    expectCounted("deleted the first");

    // Someone changes the body without an edit, then the handling runs on its own.
    editor.s.Text1.text = u"全角ばかり";
    editor.onBodyChanged();
    expectCounted("changed outside");

    // Changed outside, then edited: a change beside the edit, or one of the size, is noticed.
    editor.setBody(std::u16string(200, u'a'));
    editor.s.Text1.text[101] = u'漢';
    editor.bodyEdited(100, 0, u"b");
    expectCounted("changed beside an edit");
    editor.s.Text1.text += u'漢';
    editor.bodyEdited(0, 0, u"c");
    expectCounted("lengthened far from an edit");
}

TEST(NumberFormat, OneDecimalRoundsHalfAwayFromZero) {
    // Whole and half counts, as the body count gives them.
    for (auto [value, text] : {std::pair{0.0, u"0.0"},
                               {-0.0, u"0.0"},
                               {0.5, u"0.5"},
                               {12.5, u"12.5"},
                               {32000.0, u"32000.0"},
                               {-0.5, u"-0.5"},
                               {-7.0, u"-7.0"},
                               {123456789012.5, u"123456789012.5"},
                               {1e15, u"1000000000000000.0"}})
        EXPECT_EQ(core::oneDecimal(value), text) << value;
    // Costs and weighted counts have more decimals.
    for (auto [value, text] : {std::pair{16.15, u"16.2"},
                               {2.25, u"2.3"},
                               {0.05, u"0.1"},
                               {-2.25, u"-2.3"},
                               {9.96, u"10.0"},
                               {0.04, u"0.0"},
                               {-0.04, u"0.0"}})
        EXPECT_EQ(core::oneDecimal(value), text) << value;
}
