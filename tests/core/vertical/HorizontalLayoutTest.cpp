#include "core/vertical/HorizontalLayout.h"

#include "LiteralLayout.h"
#include "support/ScriptedPrompts.h"
#include "core/vertical/VerticalConversion.h"
#include "core/vertical/VerticalLayout.h"

#include <gtest/gtest.h>

#include <random>

using core::ScreenSize;

namespace {

class AlwaysNo : public core::Prompts {
public:
    core::Answer question(std::u16string_view, std::u16string_view, core::Buttons, core::Icon) override {
        return core::Answer::No;
    }
    void message(std::u16string_view, std::u16string_view, core::Icon) override {}
    std::u16string input(std::u16string_view, std::u16string_view, std::u16string_view) override { return {}; }
};

std::u16string vertical(std::u16string_view body, ScreenSize screen, core::VerticalMode mode) {
    AlwaysNo no;
    return core::toVertical(body, screen, mode, no).text;
}

std::u16string horizontal(std::u16string_view text, ScreenSize model) {
    auto result = core::toHorizontal(text, model);
    EXPECT_TRUE(result.has_value());
    return result.value_or(u"<none>");
}

} // namespace

TEST(HorizontalLayout, WorkedExampleAndItsLosses) {
    // No separator: the size comes from the model.
    EXPECT_EQ(test::show(horizontal(u"　　　ｃａ"
                                    u"　　　　ｂ"
                                    u"　　　　　",
                                    {5, 3})),
              test::show(u"ａｂ　ｃ\r\n　\r\n　\r\n　\r\n"));
    // A line break that fell on a column's end is lost; a TAB comes back as a line break.
    EXPECT_EQ(test::show(horizontal(vertical(u"あいう\r\nえ", {5, 3}, core::VerticalMode::Send), {5, 3})),
              test::show(u"あいうえ\r\n　\r\n　\r\n　\r\n"));
    EXPECT_EQ(test::show(horizontal(vertical(u"あ\tい", {5, 6}, core::VerticalMode::Send), {5, 6})),
              test::show(u"あ\r\nい　\r\n　\r\n　\r\n　\r\n"));
    // Upright marks come back as "ー"; half width stays widened (needs the width tables).
    EXPECT_EQ(test::show(horizontal(vertical(u"ｰｱ\r\n", {5, 1}, core::VerticalMode::Send), {5, 1})),
              test::show(u"ーア　　　"));
    // Two rows: an empty column is two fillers, not a line break.
    EXPECT_EQ(test::show(horizontal(u"　　　　あ"
                                    u"　　　　い",
                                    {5, 2})),
              test::show(u"あい　　　　　　　　"));
    // No rows to read with.
    EXPECT_FALSE(core::toHorizontal(u"あ", {8, 0}));
    EXPECT_FALSE(core::toHorizontal(u"あ", {0, 9}));
    EXPECT_FALSE(core::toHorizontal(u"次のページ-----", {8, 9}));
    EXPECT_EQ(core::toHorizontal(u"", {8, 9}), u"");
}

TEST(HorizontalLayout, ScreenComesFromTheFirstSeparator) {
    // Send layout on 8 x 9: 72 characters, then "---次のページ---".
    auto screen = core::screenOfLayout(std::u16string(72, u'あ') + core::separatorRow(8) + u"あ");
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->columns, 8);
    EXPECT_EQ(screen->rows, 9);
    // Halves go to the even neighbour: 6 x 2.5 and 6 x 3.5.
    EXPECT_EQ(core::screenOfLayout(std::u16string(15, u'あ') + u"-次のページ-")->rows, 2);
    EXPECT_EQ(core::screenOfLayout(std::u16string(21, u'あ') + u"-次のページ-")->rows, 4);
    // The text view's row breaks do not count as screen positions, so a text view of
    // several pages reads back like the send layout.
    std::u16string body;
    for (int i = 0; i < 150; ++i)
        body += static_cast<char16_t>(u'ぁ' + i % 80);
    body.insert(40, u"\r\n");
    const std::u16string textView = vertical(body, {8, 9}, core::VerticalMode::TextView);
    EXPECT_EQ(core::screenOfLayout(textView)->rows, 9);
    const std::u16string sent = vertical(body, {8, 9}, core::VerticalMode::Send);
    EXPECT_EQ(test::show(horizontal(textView, {5, 5})), test::show(horizontal(sent, {5, 5})));
    EXPECT_EQ(horizontal(sent, {5, 5}).substr(0, 40), body.substr(0, 40));
}

TEST(HorizontalLayout, ColumnBoundaryRoundTrip) {
    // Every line fills whole columns and the last page is full: the breaks vanish, nothing else.
    std::u16string body, flat;
    for (int line = 0; line < 10; ++line) {
        std::u16string text;
        for (int i = 0; i < 6; ++i)
            text += static_cast<char16_t>(u'ア' + line * 6 + i);
        body += text + u"\r\n";
        flat += text;
    }
    body.resize(body.size() - 2); // 60 characters: two full 5 x 6 pages
    const std::u16string sent = vertical(body, {5, 6}, core::VerticalMode::Send);
    EXPECT_NE(sent.find(u"次のページ"), std::u16string::npos);
    EXPECT_EQ(test::show(horizontal(sent, {8, 9})), test::show(flat));
    EXPECT_EQ(test::show(horizontal(vertical(body, {5, 6}, core::VerticalMode::TextView), {8, 9})), test::show(flat));
}

TEST(HorizontalLayout, SinglePassMatchesTheLiteralRules) {
    std::mt19937 random(6122026);
    const std::u16string pool[] = {u"あ", u"漢",  u"\u3000",     u"\u3000\u3000", u"\r\n",   u"\r", u"\n",
                                   u"-",  u"---", u"次のページ", u"次の",         u"ページ", u"｜", u"ー"};
    for (int round = 0; round < 1500; ++round) {
        std::u16string text;
        if (round % 2 == 0) {
            // Real layouts, sometimes damaged.
            std::u16string body;
            const int length = static_cast<int>(random() % 200);
            for (int i = 0; i < length; ++i)
                body += pool[random() % 8];
            const ScreenSize screen{5 + static_cast<int>(random() % 6), 1 + static_cast<int>(random() % 9)};
            text = vertical(body, screen, random() % 2 ? core::VerticalMode::Send : core::VerticalMode::TextView);
            if (round % 4 == 0 && !text.empty())
                text.insert(random() % text.size(), pool[random() % std::size(pool)]);
        } else {
            const int pieces = static_cast<int>(random() % 80);
            for (int i = 0; i < pieces; ++i)
                text += pool[random() % std::size(pool)];
        }
        const int columns = static_cast<int>(random() % 9), rows = static_cast<int>(random() % 9);
        SCOPED_TRACE(test::show(text) + " model " + std::to_string(columns) + "x" + std::to_string(rows));
        auto expected = literal::horizontal(text, columns, rows);
        auto result = core::toHorizontal(text, {columns, rows});
        ASSERT_EQ(result.has_value(), expected.has_value());
        if (expected) {
            ASSERT_EQ(test::show(*result), test::show(*expected));
        }
    }
}
