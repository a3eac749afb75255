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
    EXPECT_EQ(toFullWidth(u"\u00A2\u00A3\u00A5\u00A6\u00AC\u00AF"), u"\uFFE0\uFFE1\uFFE5\uFFE4\uFFE2\uFFE3");
    EXPECT_EQ(toFullWidth(u"a\r\nb\tc"), u"ａ\r\nｂ\tｃ");
    EXPECT_EQ(toFullWidth(u"漢字かなカナ　①\uE63E"), u"漢字かなカナ　①\uE63E");
    EXPECT_EQ(toFullWidth(u"\uFFE9\uFFED"), u"←■");
    EXPECT_EQ(toFullWidth(u""), u"");
}

TEST(Width, FullWidthKanaAndSoundMarks) {
    EXPECT_EQ(toFullWidth(u"｡｢｣､･ｦｰ"), u"。「」、・ヲー");
    EXPECT_EQ(toFullWidth(u"ｱｲｳｴｵﾝｧｯｬ"), u"アイウエオンァッャ");
    EXPECT_EQ(toFullWidth(u"ｶﾞｷﾞﾀﾞﾂﾞﾄﾞﾊﾞﾎﾟｳﾞ"), u"ガギダヅドバポヴ");
    EXPECT_EQ(toFullWidth(u"ﾊﾟﾋﾟﾌﾟﾍﾟ"), u"パピプペ");
    // No character of code page 932 for these pairs: the kana and a separate mark.
    EXPECT_EQ(toFullWidth(u"ﾜﾞｦﾞｱﾞｶﾟﾝﾟ"), u"ワ゛ヲ゛ア゛カ゜ン゜");
    EXPECT_EQ(toFullWidth(u"ﾞaﾟ"), u"゛ａ゜");
    EXPECT_EQ(toFullWidth(u"ｶﾞﾞ"), u"ガ゛");
    EXPECT_EQ(toFullWidth(u"ｶ"), u"カ"); // a kana at the very end
    EXPECT_EQ(toFullWidth(u"ﾃﾞｰﾀ ﾌｧｲﾙ"), u"データ\u3000ファイル");
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
    EXPECT_EQ(toHalfWidth(u"ガパヴポッァ"), u"ｶﾞﾊﾟｳﾞﾎﾟｯｧ");
    EXPECT_EQ(toHalfWidth(u"データファイル"), u"ﾃﾞｰﾀﾌｧｲﾙ");
    EXPECT_EQ(toHalfWidth(u"ヷヺ"), u"ﾜﾞｦﾞ");
    // Hiragana, kanji and kana without a half-width form stay.
    EXPECT_EQ(toHalfWidth(u"ひらがな漢字ヰヱヵヶヮ①"), u"ひらがな漢字ヰヱヵヶヮ①");
    EXPECT_EQ(toHalfWidth(u"a\r\n\t"), u"a\r\n\t");
    EXPECT_EQ(toHalfWidth(u"ｱﾞ｡\uFFE8\uFFEE"), u"ｱﾞ｡\uFFE8\uFFEE"); // already half width
    // Only signs whose half-width form code page 932 writes as one byte become half width.
    EXPECT_EQ(toHalfWidth(u"\uFFE5\uFFE4"), u"\u00A5\u00A6");
    EXPECT_EQ(toHalfWidth(u"\uFFE0\uFFE1\uFFE2\uFFE3←■"), u"\uFFE0\uFFE1\uFFE2\uFFE3←■");
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
}
