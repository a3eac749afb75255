#include "core/vertical/HorizontalLayout.h"

#include "LiteralLayout.h"
#include "core/vertical/VerticalConversion.h"
#include "core/vertical/VerticalLayout.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <random>

using core::ScreenSize;
using core::VerticalMode;

namespace {

std::u16string vertical(std::u16string_view body, ScreenSize screen, VerticalMode mode) {
    literal::SameAnswer no(core::Answer::No);
    return core::toVertical(body, screen, mode, no).text;
}

std::u16string horizontal(std::u16string_view text, ScreenSize model) {
    return core::toHorizontal(text, model).value_or(u"<none>");
}

} // namespace

// A character outside the BMP is one cell of the layout and comes back whole, and it takes
// one position when the screen is worked out from the separator.
TEST(HorizontalLayout, CharactersOutsideTheBmpComeBackWhole) {
    std::u16string withPairs, withKanji;
    for (int i = 0; i < 12; ++i) {
        withPairs += u"𠮷野家へ";
        withKanji += u"吉野家へ";
    }
    std::u16string expected = horizontal(vertical(withKanji, {5, 3}, VerticalMode::Send), {8, 9});
    for (auto at = expected.find(u'吉'); at != std::u16string::npos; at = expected.find(u'吉'))
        expected.replace(at, 1, u"𠮷");
    const std::u16string sent = vertical(withPairs, {5, 3}, VerticalMode::Send);
    EXPECT_EQ(core::screenOfLayout(sent)->rows, 3);
    EXPECT_EQ(test::show(horizontal(sent, {8, 9})), test::show(expected));
    EXPECT_EQ(expected.substr(0, 8), u"𠮷野家へ𠮷野");
    // A body of such characters alone, shorter than a block of the scan.
    EXPECT_EQ(vertical(u"𠮷𠮷", {5, 3}, VerticalMode::Send), u"　　　　𠮷　　　　𠮷　　　　　");
    // The lowest first half there is (U+10000) as well.
    EXPECT_EQ(vertical(u"\U00010000\U00010000", {5, 3}, VerticalMode::Send),
              u"　　　　\U00010000　　　　\U00010000　　　　　");
}

TEST(HorizontalLayout, SinglePassMatchesTheLiteralRules) {
    std::mt19937 random(6122026);
    const std::u16string pool[] = {u"あ", u"漢",  u"\u3000",     u"\u3000\u3000", u"\r\n",   u"\r",     u"\n", u"-",
                                   u"𠮷", u"---", u"次のページ", u"次の",         u"ページ", u"\xD842", u"｜", u"ー"};
    for (int round = 0; round < 1500; ++round) {
        std::u16string text;
        if (round % 2 == 0) { // real layouts, sometimes damaged
            std::u16string body;
            for (int i = static_cast<int>(random() % 200); i > 0; --i)
                body += pool[random() % 9];
            const ScreenSize screen{5 + static_cast<int>(random() % 6), 1 + static_cast<int>(random() % 9)};
            text = vertical(body, screen, random() % 2 ? VerticalMode::Send : VerticalMode::TextView);
            if (round % 4 == 0 && !text.empty())
                text.insert(random() % text.size(), pool[random() % std::size(pool)]);
        } else {
            for (int i = static_cast<int>(random() % 80); i > 0; --i)
                text += pool[random() % std::size(pool)];
        }
        const int columns = static_cast<int>(random() % 9), rows = static_cast<int>(random() % 9);
        SCOPED_TRACE(test::show(text) + " model " + std::to_string(columns) + "x" + std::to_string(rows));
        auto expected = literal::horizontal(text, columns, rows);
        auto result = core::toHorizontal(text, {columns, rows});
        ASSERT_EQ(result.has_value(), expected.has_value());
        ASSERT_EQ(test::show(result.value_or(u"")), test::show(expected.value_or(u"")));
    }
}
