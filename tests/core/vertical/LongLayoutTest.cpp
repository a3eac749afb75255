// Long texts there and back, against the slow rules: the fast paths work in blocks of units and
// in batches of pages, which short texts never leave.
#include "core/vertical/HorizontalLayout.h"
#include "core/vertical/VerticalConversion.h"

#include "LiteralLayout.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

TEST(LongLayout, BothWaysMatchTheLiteralRules) {
    std::mt19937 random(7122026);
    // Mostly what the fast loop takes, with now and then what it must leave to the careful one.
    const std::u16string common[] = {u"あ", u"漢字", u"ー", u"a", u"Ab", u"\r\n", u"\r\n\r\n", u"かな\r\n"};
    const std::u16string rare[] = {u"\t", u"\r", u"\n", u"ｶﾞ", u"aﾞ", u"ﾟ", u"¢", u"\u3000", u"｜", u"\x01"};
    // Pieces put into a layout before it is read back.
    const std::u16string damage[] = {u"｜", u"ー", u"\r", u"-", u"---", u"次のページ", u"次の", u"ページ", u"ジ"};
    for (int round = 0; round < 80; ++round) {
        std::u16string body;
        for (int i = static_cast<int>(500 + random() % 2500); i > 0; --i)
            body += random() % 12 ? common[random() % std::size(common)] : rare[random() % std::size(rare)];
        // Both ways a text can end: on a line break (no end test in the loop) or not.
        if (round % 3 == 0)
            body += u"\r\n";
        else if (round % 3 == 1)
            body += u"\r";
        // Small screens make many pages, enough to need more than one batch of blank pages.
        const int columns = 5 + static_cast<int>(random() % 4), rows = 1 + static_cast<int>(random() % 4);
        // The text view is always cut to the budget (declining stops it), the others only when asked.
        const int mode = static_cast<int>(random() % 3);
        const core::Answer answer = mode == 2 || random() % 4 == 0 ? core::Answer::Yes : core::Answer::No;
        SCOPED_TRACE("round " + std::to_string(round) + " on " + std::to_string(columns) + "x" + std::to_string(rows) +
                     " mode " + std::to_string(mode));
        std::u16string question;
        const auto expected = literal::vertical(body, columns, rows, mode, answer, question);
        // What follows the text in memory must not be read as part of it.
        const std::u16string padded = body + u"漢字a\r\n";
        literal::SameAnswer prompts(answer);
        const core::VerticalResult result =
            core::toVertical(std::u16string_view(padded).substr(0, body.size()), {columns, rows},
                             static_cast<core::VerticalMode>(mode), prompts);
        EXPECT_EQ(prompts.asked, std::vector{question});
        ASSERT_EQ(result.outcome, core::VerticalResult::Converted);
        ASSERT_EQ(test::show(result.text), test::show(expected.text));

        // Back again on any model, sometimes with a piece put in somewhere.
        std::u16string text = result.text;
        if (round % 2 == 0)
            text.insert(random() % (text.size() + 1), damage[random() % std::size(damage)]);
        const int modelColumns = static_cast<int>(random() % 9), modelRows = static_cast<int>(random() % 9);
        SCOPED_TRACE("model " + std::to_string(modelColumns) + "x" + std::to_string(modelRows));
        const auto expectedBack = literal::horizontal(text, modelColumns, modelRows);
        const std::u16string paddedBack = text + u"ジ\r\n次のページ";
        const auto back =
            core::toHorizontal(std::u16string_view(paddedBack).substr(0, text.size()), {modelColumns, modelRows});
        ASSERT_EQ(back.has_value(), expectedBack.has_value());
        ASSERT_EQ(test::show(back.value_or(u"")), test::show(expectedBack.value_or(u"")));
    }
}
