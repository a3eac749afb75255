#include "platform/Width.h"

#include "platform/Cp932.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Width, FullWidthAsciiAndSigns) {
    EXPECT_EQ(toFullWidth(u"Az09!~\\ \"'"), u"Ａｚ０９！～＼\u3000＂＇");
    std::u16string ascii;
    for (char16_t c = 0x21; c < 0x7F; ++c)
        ascii.push_back(c);
    const std::u16string full = toFullWidth(ascii);
    ASSERT_EQ(full.size(), ascii.size());
    for (std::size_t i = 0; i < full.size(); ++i) {
        EXPECT_EQ(full[i], ascii[i] + 0xFEE0);
        EXPECT_FALSE(isSingleByte(full[i])) << int(ascii[i]); // every one-byte character has a two-byte form
    }
    EXPECT_EQ(toHalfWidth(full), ascii);
    EXPECT_EQ(toFullWidth(u"\u00A5\u00AC a\r\n漢①\uE63E\uFFE9"), u"\uFFE5\uFFE2\u3000ａ\r\n漢①\uE63E←");
}

TEST(Width, FullWidthKanaAndSoundMarks) {
    EXPECT_EQ(toFullWidth(u"｡｢｣､･ｦｰ"), u"。「」、・ヲー");
    EXPECT_EQ(toFullWidth(u"ｶﾞｷﾞﾀﾞﾂﾞﾄﾞﾊﾞﾎﾟｳﾞﾊﾟﾍﾟ"), u"ガギダヅドバポヴパペ");
    // No character of code page 932 for these pairs: the kana and a separate mark.
    EXPECT_EQ(toFullWidth(u"ﾜﾞｦﾞｱﾞｶﾟﾝﾟ"), u"ワ゛ヲ゛ア゛カ゜ン゜");
    EXPECT_EQ(toFullWidth(u"ﾞaﾟｶﾞﾞｶ"), u"゛ａ゜ガ゛カ");
    std::u16string half;
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c)
        half.push_back(c);
    const std::u16string full = toFullWidth(half);
    ASSERT_EQ(full.size(), half.size());
    EXPECT_EQ(toHalfWidth(full), half);
    for (char16_t c : full)
        EXPECT_TRUE(hasCp932Form(c) && !isSingleByte(c)) << int(c);
}

TEST(Width, HalfWidth) {
    EXPECT_EQ(toHalfWidth(u"Ａｚ０９！＼～\u3000’”"), u"Az09!\\~ '\"");
    EXPECT_EQ(toHalfWidth(u"、。「」・ー゛゜"), u"､｡｢｣･ｰﾞﾟ");
    EXPECT_EQ(toHalfWidth(u"ガパヴポッァヷヺ"), u"ｶﾞﾊﾟｳﾞﾎﾟｯｧﾜﾞｦﾞ");
    // Hiragana, kanji and kana without a half-width form stay.
    EXPECT_EQ(toHalfWidth(u"ひらがな漢字ヰヱヵヶヮ①"), u"ひらがな漢字ヰヱヵヶヮ①");
    // Only signs whose half-width form code page 932 writes as one byte become half width.
    EXPECT_EQ(toHalfWidth(u"\uFFE5\uFFE4\uFFE0\uFFE2←"), u"\u00A5\u00A6\uFFE0\uFFE2←");
    // Every full-width katakana with a half-width form shrinks to one-byte characters and back.
    for (char16_t c = u'ァ'; c <= u'ヺ'; ++c) {
        const std::u16string half = toHalfWidth(std::u16string(1, c));
        if (half[0] == c)
            continue;
        if (hasCp932Form(c)) { // ヷ and ヺ come back as two characters
            EXPECT_EQ(toFullWidth(half), std::u16string(1, c)) << int(c);
        }
        for (char16_t h : half)
            EXPECT_TRUE(isSingleByte(h) && hasCp932Form(h)) << int(c);
    }
    // Nothing with a form in the code page loses it, alone or before a sound mark: the body's
    // conversion to half width relies on it.
    for (char32_t c = 1; c < 0x10000; ++c) {
        const auto unit = static_cast<char16_t>(c);
        if (!hasCp932Form(unit))
            continue;
        for (const std::u16string& text : {std::u16string(1, unit), std::u16string(1, unit) + u"゛"})
            ASSERT_EQ(firstWithoutCp932Form(toHalfWidth(text)), std::u16string_view::npos) << int(c);
    }
}

// Long texts go sixteen or eight units at a time.
TEST(Width, HalfWidthOfLongTexts) {
    long long delta = 1;
    // Voiced kana only: the output doubles, past the room it started with.
    std::u16string voiced, halves;
    for (int i = 0; i < 5000; ++i) {
        voiced += u"ガ";
        halves += u"ｶﾞ";
    }
    EXPECT_EQ(toHalfWidth(voiced + u"ＡＢ", delta), halves + u"AB");
    EXPECT_EQ(delta, -2);
}
