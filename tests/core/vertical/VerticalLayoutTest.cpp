#include "core/vertical/VerticalConversion.h"

#include "LiteralLayout.h"
#include "core/vertical/VerticalLayout.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using core::ScreenSize;
using core::VerticalMode;
using core::VerticalResult;

namespace {

VerticalResult convert(std::u16string_view body, ScreenSize screen, VerticalMode mode) {
    literal::SameAnswer no(core::Answer::No);
    VerticalResult result = core::toVertical(body, screen, mode, no);
    EXPECT_TRUE(no.asked.empty()) << "unexpected budget question";
    return result;
}

} // namespace

TEST(VerticalLayout, WorkedExampleFiveByThree) {
    const std::u16string expected = u"　　　ｃａ　　　　ｂ　　　　　";
    EXPECT_EQ(core::prepareColumns(u"ab\r\nc", 3), u"ａｂ　ｃ");
    EXPECT_EQ(core::prepareColumns(u"a\r\nb\r\nc", 3), u"ａ　　ｂ　　ｃ"); // each column filled to its foot
    EXPECT_EQ(convert(u"ab\r\nc", {5, 3}, VerticalMode::Send).text, expected);
    EXPECT_EQ(convert(u"ab\r\nc", {5, 3}, VerticalMode::Preview).text, u"　　　ｃａ\r\n　　　　ｂ\r\n　　　　　");
    EXPECT_EQ(convert(u"ab\r\nc", {5, 3}, VerticalMode::TextView).text, u"　　　ｃａ\r\n　　　　ｂ\r\n　　　　　\r\n");
    // Voiced marks join their kana; a TAB is four fillers and counts for the next line break.
    EXPECT_EQ(core::prepareColumns(u"ｶﾞｰ\tい\r\nう", 4), u"ガ｜　　　　い　う");
}

TEST(VerticalLayout, ScreensThatCannotHoldTheText) {
    literal::SameAnswer yes(core::Answer::Yes), no(core::Answer::No);
    EXPECT_EQ(core::toVertical(u"あ", {8, 0}, VerticalMode::Send, yes).outcome, VerticalResult::CannotLayOut);
    // Four columns: one page is fine, a second would need a separator row.
    EXPECT_EQ(core::toVertical(std::u16string(8, u'あ'), {4, 2}, VerticalMode::Send, yes).text,
              std::u16string(8, u'あ'));
    EXPECT_EQ(core::toVertical(std::u16string(9, u'あ'), {4, 2}, VerticalMode::Send, yes).outcome,
              VerticalResult::CannotLayOut);
    // No columns: an empty body is an empty page, any character needs another page.
    EXPECT_EQ(core::toVertical(u"", {0, 3}, VerticalMode::TextView, yes).text, u"\r\n\r\n\r\n");
    EXPECT_EQ(core::toVertical(u"あ", {0, 3}, VerticalMode::Send, yes).outcome, VerticalResult::CannotLayOut);
    // 4 x 70: a budget of no page at all, so no question either.
    EXPECT_EQ(core::toVertical(std::u16string(281, u'あ'), {4, 70}, VerticalMode::Send, yes).outcome,
              VerticalResult::CannotLayOut);
    EXPECT_TRUE(yes.asked.empty());
    // 4 x 40: the budget is one page, so cutting makes the text fit; declining leaves it too long.
    const std::u16string body(170, u'あ');
    EXPECT_EQ(core::toVertical(body, {4, 40}, VerticalMode::Send, no).outcome, VerticalResult::CannotLayOut);
    EXPECT_EQ(core::toVertical(body, {4, 40}, VerticalMode::TextView, no).outcome, VerticalResult::Declined);
    EXPECT_EQ(core::toVertical(body, {4, 40}, VerticalMode::Send, yes).text, std::u16string(160, u'あ'));
    EXPECT_EQ(yes.asked, std::vector<std::u16string>{u"10文字オーバーになるので、削除してもよろしいですか？"});
}

TEST(VerticalLayout, SinglePassMatchesTheLiteralRules) {
    std::mt19937 random(20261206);
    const std::u16string pool[] = {u"あ", u"漢", u"ａ", u"a", u"~", u" ", u"\t", u"\r\n",   u"\r\n", u"\r",
                                   u"\n", u"ー", u"ｰ",  u"ｶ", u"ﾞ", u"ﾟ", u"ﾜ",  u"\u3000", u"¢",    u"｜"};
    for (int round = 0; round < 1500; ++round) {
        // Short bodies too, which a screen of a few cells still takes.
        std::u16string body;
        for (int i = static_cast<int>(random() % (round % 2 ? 120 : 12)); i > 0; --i)
            body += pool[random() % std::size(pool)];
        const int columns = static_cast<int>(random() % 13), rows = static_cast<int>(random() % 13);
        const int mode = static_cast<int>(random() % 3);
        const core::Answer answer = random() % 2 ? core::Answer::Yes : core::Answer::No;
        SCOPED_TRACE(test::show(body) + " on " + std::to_string(columns) + "x" + std::to_string(rows) + " mode " +
                     std::to_string(mode));

        std::u16string question;
        const VerticalResult expected = literal::vertical(body, columns, rows, mode, answer, question);
        literal::SameAnswer prompts(answer);
        VerticalResult result = core::toVertical(body, {columns, rows}, static_cast<VerticalMode>(mode), prompts);
        EXPECT_EQ(prompts.asked, question.empty() ? std::vector<std::u16string>{} : std::vector{question});
        ASSERT_EQ(result.outcome, expected.outcome);
        ASSERT_EQ(test::show(result.text), test::show(expected.text));
    }
}
