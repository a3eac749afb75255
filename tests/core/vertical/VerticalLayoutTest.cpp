#include "core/vertical/VerticalConversion.h"

#include "LiteralLayout.h"
#include "support/ScriptedPrompts.h"
#include "core/vertical/FullWidth.h"
#include "core/vertical/VerticalLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using core::ScreenSize;
using core::VerticalMode;
using core::VerticalResult;

namespace {

std::u16string fill(std::size_t n) {
    return std::u16string(n, u'\u3000');
}

// Answers every question alike and remembers what was asked.
class SameAnswer : public core::Prompts {
public:
    explicit SameAnswer(core::Answer answer) : m_answer(answer) {}
    core::Answer question(std::u16string_view, std::u16string_view text, core::Buttons, core::Icon) override {
        asked.emplace_back(text);
        return m_answer;
    }
    void message(std::u16string_view, std::u16string_view text, core::Icon) override { told.emplace_back(text); }
    std::u16string input(std::u16string_view, std::u16string_view, std::u16string_view) override { return {}; }
    std::vector<std::u16string> asked, told;

private:
    core::Answer m_answer;
};

VerticalResult convert(std::u16string_view body, ScreenSize screen, VerticalMode mode) {
    SameAnswer no(core::Answer::No);
    VerticalResult result = core::toVertical(body, screen, mode, no);
    EXPECT_TRUE(no.asked.empty()) << "unexpected budget question";
    return result;
}

} // namespace

TEST(VerticalLayout, WorkedExampleFiveByThree) {
    const std::u16string expected = u"　　　ｃａ"
                                    u"　　　　ｂ"
                                    u"　　　　　";
    EXPECT_EQ(core::prepareColumns(u"ａｂ\r\nｃ", 3), u"ａｂ　ｃ");
    VerticalResult wide = convert(u"ａｂ\r\nｃ", {5, 3}, VerticalMode::Send);
    EXPECT_EQ(wide.outcome, VerticalResult::Converted);
    EXPECT_EQ(test::show(wide.text), test::show(expected));
    // Half-width input is widened first (needs the width tables).
    EXPECT_EQ(test::show(convert(u"ab\r\nc", {5, 3}, VerticalMode::Send).text), test::show(expected));
    // The same layout with CR LF after every row in the text view.
    EXPECT_EQ(test::show(convert(u"ａｂ\r\nｃ", {5, 3}, VerticalMode::TextView).text),
              test::show(u"　　　ｃａ\r\n　　　　ｂ\r\n　　　　　\r\n"));
    EXPECT_EQ(convert(u"ａｂ\r\nｃ", {5, 3}, VerticalMode::Preview).text, expected);
}

TEST(VerticalLayout, BudgetQuestionAndItsAnswers) {
    const ScreenSize p501i{8, 9};
    EXPECT_EQ(core::verticalBudget(p501i), 216);
    EXPECT_EQ(core::verticalBudget({10, 10}), 200); // 250 / 110 = 2 screens
    EXPECT_EQ(core::verticalBudget({20, 20}), 0);   // not even one screen fits
    const std::u16string body(217, u'あ');

    {
        test::ScriptedPrompts prompts;
        prompts.question(u"文字数オーバー", u"1文字オーバーになるので、削除してもよろしいですか？",
                         core::Buttons::YesNo, core::Answer::Yes);
        VerticalResult cut = core::toVertical(body, p501i, VerticalMode::Send, prompts);
        // Three full pages and two separators: nothing of the 217th character survives.
        EXPECT_EQ(cut.text.size(), 3u * 72 + 2 * 11);
        EXPECT_EQ(std::count(cut.text.begin(), cut.text.end(), u'あ'), 216);
    }
    {
        test::ScriptedPrompts prompts;
        prompts.question(u"文字数オーバー", u"1文字オーバーになるので、削除してもよろしいですか？",
                         core::Buttons::YesNo, core::Answer::No);
        VerticalResult whole = core::toVertical(body, p501i, VerticalMode::Preview, prompts);
        EXPECT_EQ(std::count(whole.text.begin(), whole.text.end(), u'あ'), 217);
        EXPECT_EQ(whole.text.size(), 4u * 72 + 3 * 11);
    }
    {
        test::ScriptedPrompts prompts;
        prompts.question(u"文字数オーバー", u"1文字オーバーになるので、削除してもよろしいですか？",
                         core::Buttons::YesNo, core::Answer::No);
        EXPECT_EQ(core::toVertical(body, p501i, VerticalMode::TextView, prompts).outcome, VerticalResult::Declined);
    }
    // The budget counts after the line breaks are filled: 2 characters and a break fill a column.
    std::u16string lines;
    for (int i = 0; i < 24; ++i)
        lines += u"あい\r\n";
    EXPECT_EQ(core::prepareColumns(lines, 9).size(), 216u); // the last break is filled too
    EXPECT_EQ(convert(lines, p501i, VerticalMode::Send).outcome, VerticalResult::Converted);
    EXPECT_EQ(convert(std::u16string(216, u'あ'), p501i, VerticalMode::Send).outcome, VerticalResult::Converted);
}

TEST(VerticalLayout, PagesRowsAndSeparators) {
    // Exactly one page: no separator at all.
    const std::u16string page(72, u'あ');
    VerticalResult one = convert(page, {8, 9}, VerticalMode::Send);
    EXPECT_EQ(one.text, page);
    EXPECT_EQ(one.text.find(u"次のページ"), std::u16string::npos);

    EXPECT_EQ(core::separatorRow(8), u"---次のページ---");
    EXPECT_EQ(core::separatorRow(5), u"次のページ");

    // Three pages on a 5 x 2 screen: 10 + 10 + 3 characters.
    std::u16string body;
    for (char16_t c = u'Ａ'; c < u'Ａ' + 23; ++c)
        body += c;
    const std::u16string sep = u"次のページ";
    EXPECT_EQ(test::show(convert(body, {5, 2}, VerticalMode::Send).text), test::show(u"ＩＧＥＣＡ"
                                                                                     u"ＪＨＦＤＢ" +
                                                                                     sep +
                                                                                     u"ＳＱＯＭＫ"
                                                                                     u"ＴＲＰＮＬ" +
                                                                                     sep +
                                                                                     u"　　　ＷＵ"
                                                                                     u"　　　　Ｖ"));
    EXPECT_EQ(test::show(convert(body, {5, 2}, VerticalMode::TextView).text),
              test::show(u"ＩＧＥＣＡ\r\nＪＨＦＤＢ\r\n" + sep + u"\r\nＳＱＯＭＫ\r\nＴＲＰＮＬ\r\n" + sep +
                         u"\r\n　　　ＷＵ\r\n　　　　Ｖ\r\n"));
    // Modes 0 and 1 have no line break at all, even with line breaks and TABs in the body.
    for (VerticalMode mode : {VerticalMode::Preview, VerticalMode::Send}) {
        std::u16string text = convert(u"あ\r\nい\tう\r\n\r\nえ", {8, 9}, mode).text;
        EXPECT_EQ(text.find_first_of(u"\r\n\t"), std::u16string::npos);
        EXPECT_EQ(text.size(), 72u);
    }
    // A TAB is four fillers and counts for the line break that follows it.
    EXPECT_EQ(core::prepareColumns(u"あ\tい\r\nう", 3), u"あ" + fill(4) + u"い" + u"う");
    EXPECT_EQ(core::prepareColumns(u"あ\tい\r\nう", 4), u"あ" + fill(4) + u"い" + fill(2) + u"う");
}

TEST(VerticalLayout, ProlongedSoundMarkStandsUpright) {
    std::u16string body = u"ラーメン";
    body += std::u16string(40, u'あ');
    VerticalResult result = convert(body, {5, 4}, VerticalMode::Send);
    EXPECT_EQ(result.text.find(u'ー'), result.text.find(u"次のページ") + 3); // only the separator's
    EXPECT_NE(result.text.find(u'｜'), std::u16string::npos);
    EXPECT_EQ(std::count(result.text.begin(), result.text.end(), u'ー'), 2); // two separators
    EXPECT_EQ(core::prepareColumns(u"ｰ", 3), u"｜"); // half width, widened first (needs the width tables)
}

TEST(VerticalLayout, ScreensThatCannotHoldTheText) {
    SameAnswer yes(core::Answer::Yes);
    // No rows: nothing can be laid out, and nothing is asked.
    EXPECT_EQ(core::toVertical(u"あ", {8, 0}, VerticalMode::Send, yes).outcome, VerticalResult::CannotLayOut);
    EXPECT_EQ(core::toVertical(u"", {0, 0}, VerticalMode::Preview, yes).outcome, VerticalResult::CannotLayOut);
    // Four columns: one page is fine, a second page would need a separator row.
    EXPECT_EQ(core::toVertical(std::u16string(8, u'あ'), {4, 2}, VerticalMode::Send, yes).text,
              std::u16string(8, u'あ'));
    EXPECT_EQ(core::toVertical(std::u16string(9, u'あ'), {4, 2}, VerticalMode::Send, yes).outcome,
              VerticalResult::CannotLayOut);
    EXPECT_TRUE(yes.asked.empty());
    // No columns: an empty body is an empty page, any character needs another page.
    EXPECT_EQ(core::toVertical(u"", {0, 3}, VerticalMode::TextView, yes).text, u"\r\n\r\n\r\n");
    EXPECT_EQ(core::toVertical(u"あ", {0, 3}, VerticalMode::Send, yes).outcome, VerticalResult::CannotLayOut);
    // 4 x 40: the budget is one page, so cutting makes the text fit; declining leaves it too long.
    const std::u16string body(170, u'あ');
    SameAnswer no(core::Answer::No);
    EXPECT_EQ(core::toVertical(body, {4, 40}, VerticalMode::Send, no).outcome, VerticalResult::CannotLayOut);
    EXPECT_EQ(core::toVertical(body, {4, 40}, VerticalMode::TextView, no).outcome, VerticalResult::Declined);
    VerticalResult cut = core::toVertical(body, {4, 40}, VerticalMode::Send, yes);
    EXPECT_EQ(cut.outcome, VerticalResult::Converted);
    EXPECT_EQ(cut.text, std::u16string(160, u'あ'));
    EXPECT_EQ(yes.asked, std::vector<std::u16string>{u"10文字オーバーになるので、削除してもよろしいですか？"});
    EXPECT_EQ(no.asked.size(), 2u);
}

TEST(VerticalLayout, SinglePassMatchesTheLiteralRules) {
    std::mt19937 random(20261206);
    const std::u16string pool[] = {u"あ", u"漢", u"ａ", u"a", u"1", u" ", u"\t", u"\r\n", u"\r\n",       u"\r",
                                   u"\n", u"ー", u"ｰ",  u"ｶ", u"ﾞ", u"ﾟ", u"-",  u"　",   u"次のページ", u"｜"};
    for (int round = 0; round < 1500; ++round) {
        std::u16string body;
        const int pieces = static_cast<int>(random() % 120);
        for (int i = 0; i < pieces; ++i)
            body += pool[random() % std::size(pool)];
        const int columns = 5 + static_cast<int>(random() % 8), rows = 1 + static_cast<int>(random() % 10);
        const int mode = static_cast<int>(random() % 3);
        const core::Answer answer = random() % 2 ? core::Answer::Yes : core::Answer::No;

        std::u16string expectedQuestion;
        auto expected = literal::vertical(body, columns, rows, mode, answer, expectedQuestion);
        SameAnswer prompts(answer);
        VerticalResult result = core::toVertical(body, {columns, rows}, static_cast<VerticalMode>(mode), prompts);
        SCOPED_TRACE(test::show(body) + " on " + std::to_string(columns) + "x" + std::to_string(rows) + " mode " +
                     std::to_string(mode));
        if (expectedQuestion.empty())
            EXPECT_TRUE(prompts.asked.empty());
        else
            EXPECT_EQ(prompts.asked, std::vector<std::u16string>{expectedQuestion});
        if (!expected) {
            EXPECT_EQ(result.outcome, VerticalResult::Declined);
            continue;
        }
        ASSERT_EQ(result.outcome, VerticalResult::Converted);
        ASSERT_EQ(test::show(result.text), test::show(*expected));
    }
    EXPECT_EQ(core::toFullWidthText(u"ｶﾞｷﾞｸ"), literal::fullWidth(u"ｶﾞｷﾞｸ"));
}
