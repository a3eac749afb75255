#include "TextFixture.h"

#include "core/text/Conversions.h"
#include "core/text/WeightedCount.h"

#include <random>

namespace {

struct Rule {
    std::u16string from, to;
} const Rules[] = {{u"\r\n", u""}, {u"→", u">"}, {u"←", u"<"}, {u"↑", u"\\"}, {u"×", u"x"},
                   {u" ", u""},    {u"", u""},   {u"(", u""},  {u")", u""}};

// Find the first occurrence, replace it, start again from the beginning.
std::u16string restartingLoop(int k, std::u16string text) {
    const Rule& r = Rules[k];
    for (auto at = text.find(r.from); at != std::u16string::npos; at = text.find(r.from))
        text.replace(at, r.from.size(), r.to);
    return text;
}

} // namespace

TEST(Conversions, MatchTheRestartingLoop) {
    const std::u16string alphabet = u"\r\n\r\n→←↑× ()a\u3000あ";
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::u16string text;
        int length = static_cast<int>(random() % 100); // long enough for blocks of eight and of 32
        for (int i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        for (int k = 0; k < core::ConversionCount; ++k) {
            if (k != 6) {
                ASSERT_EQ(core::convertedText(k, text), restartingLoop(k, text)) << k << ": " << test::show(text);
            }
            // Written over storage that holds other text, longer or shorter.
            for (std::size_t junk : {std::size_t{3}, text.size() + 100})
                ASSERT_EQ(core::convert(k, text, std::u16string(junk, u'Z')).text, core::convertedText(k, text)) << k;
        }
    }
    EXPECT_EQ(core::convertedText(0, u"\r\r\n\n"), u""); // the pair formed by a removal goes too
    // Pairs nested deeper than random texts reach, also across the vector blocks.
    for (const std::u16string& before : {std::u16string(), std::u16string(7, u'a'), std::u16string(30, u'a')}) {
        EXPECT_EQ(core::convertedText(0, before + u"\r\r\r\n\n\n"), before);
        EXPECT_EQ(core::convertedText(0, before + u"\r\r\r\n\n\n\n"), before + u"\n");
    }
    EXPECT_EQ(core::convertedText(0, u"a\rb\nc\n\r"), u"a\rb\nc\n\r");
}

TEST_F(TextTest, EachConversionIsOneEdit) {
    struct Case {
        int k;
        std::u16string body, result;
    } cases[] = {
        {0, u"a\r\nb\r\nc", u"abc"},
        {1, u"→a→", u">a>"},
        {2, u"←←", u"<<"},
        {3, u"↑上", u"\\上"},
        {4, u"2×3", u"2x3"},
        {5, u"a b\u3000c", u"ab\u3000c"},
        {6, u"ＡＢ１！\u3000カガパ漢ひ", u"AB1! ｶｶﾞﾊﾟ漢ひ"},
        {7, u"(a)(", u"a)"},
        {8, u"(a))", u"(a"},
    };
    for (const Case& c : cases) {
        editor.setBody(c.body);
        int edits = view.bodyEdits;
        editor.conversion(c.k);
        EXPECT_EQ(editor.s.Text1.text, c.result) << c.k;
        EXPECT_EQ(view.bodyEdits - edits, 1) << c.k;
        EXPECT_EQ(view.preview, c.result) << c.k;
        EXPECT_EQ(editor.s.Label1.caption, core::countDisplay(core::weightedCount(c.result), c.result.size(), false))
            << c.k;
        edits = view.bodyEdits;
        editor.s.modified = false;
        editor.conversion(c.k); // nothing left to convert: no edit at all
        EXPECT_EQ(view.bodyEdits, edits) << c.k;
        EXPECT_FALSE(editor.s.modified) << c.k;
    }

    // Only the changed span is replaced; the caret ends after the last change.
    editor.setBody(u"abc→def→ghi");
    editor.conversion(1);
    EXPECT_EQ(view.lastPreviewEdit.pos, 3);
    EXPECT_EQ(view.lastPreviewEdit.removed, 5);
    EXPECT_EQ(editor.s.Text1.selStart, 8);
}

// A body changed behind the editor's back (as a test can) is counted afresh, even where the
// change lies deep inside what the conversion then changes: the conversion's own byte count
// only fits the body the count was taken of.
TEST_F(TextTest, AConversionCountsABodyChangedBehindItsBack) {
    for (int k : {1, 5}) {
        const std::u16string ends = k == 1 ? u"→" : u" ";
        editor.setBody(ends + std::u16string(200, u'a') + ends);
        editor.s.Text1.text[100] = u'あ';
        editor.conversion(k);
        const std::u16string& body = editor.s.Text1.text;
        EXPECT_EQ(body.size(), k == 1 ? 202u : 200u);
        EXPECT_EQ(editor.s.Label1.caption, core::countDisplay(core::weightedCount(body), body.size(), false)) << k;
    }
}

TEST_F(TextTest, ConversionChainRunsAllInOrder) {
    editor.setBody(u"(→ ａ)");
    int edits = view.bodyEdits;
    editor.conversionChain();
    EXPECT_EQ(editor.s.Text1.text, u">a");
    EXPECT_EQ(view.bodyEdits - edits, 5); // arrow, space, width, two brackets

    editor.setBody(u"a\r\nb\u3000c");
    editor.conversionChain();
    EXPECT_EQ(editor.s.Text1.text, u"ab c"); // the space removal came before the width change
}
