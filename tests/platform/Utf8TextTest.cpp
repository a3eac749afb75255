#include "platform/Utf8Text.h"

#include <gtest/gtest.h>

TEST(Utf8Text, OnlyValidUtf8WithWideCharactersIsTakenAsSuch) {
    EXPECT_EQ(platform::decodeUtf8Text("a\xE3\x80\x9C\xF0\x9F\x98\x83"), u"a\u301C\U0001F603");
    EXPECT_EQ(platform::decodeUtf8Text("\xEF\xBB\xBF"
                                       "abc"),
              u"abc");
    // Plain ASCII, Shift_JIS text, and sequences UTF-8 forbids are not UTF-8 text.
    for (const char* bytes : {"abc\r\n", "\x82\xA0\r\n\x8C\x8F", "\xE0\xA0\x82\xA0", "\x81\x60", "\xC0\xAF",
                              "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE3\x80"})
        EXPECT_FALSE(platform::decodeUtf8Text(bytes)) << bytes;
}

TEST(Utf8Text, ShiftJisThatHappensToBeValidUtf8StaysShiftJis) {
    // Each text in both encodings: UTF-8 decodes only the UTF-8 form, never the Shift_JIS one.
    struct Sample {
        const char* sjis;
        const char* utf8;
        std::u16string_view text;
    };
    const Sample samples[] = {
        {"\xCA\xB2", "\xEF\xBE\x8A\xEF\xBD\xB2", u"ﾊｲ"},                                   // half-width katakana
        {"\xC3\xA9\xC2\xBF", "\xEF\xBE\x83\xEF\xBD\xA9\xEF\xBE\x82\xEF\xBD\xBF", u"ﾃｩﾂｿ"}, // pairs like é and ¿
        {"\x82\xA0\x82\xA2", "\xE3\x81\x82\xE3\x81\x84", u"あい"},                         // full-width
        {"a\xCA\xB2\x8A\xBF", "a\xEF\xBE\x8A\xEF\xBD\xB2\xE6\xBC\xA2", u"aﾊｲ漢"},          // mixed
        {"\xC3\x82\xCC\xB1", "\xEF\xBE\x83\xE3\x81\xAE\xEF\xBD\xB1", u"ﾃのｱ"},             // Â and U+0331
    };
    for (const Sample& s : samples) {
        EXPECT_FALSE(platform::decodeUtf8Text(s.sjis)) << s.sjis;
        EXPECT_EQ(platform::decodeUtf8Text(s.utf8), s.text) << s.utf8;
    }
    // ASCII is the same in both; two-byte UTF-8 that cannot be Shift_JIS (a lone 0x80) is UTF-8.
    EXPECT_FALSE(platform::decodeUtf8Text("plain\r\n"));
    EXPECT_EQ(platform::decodeUtf8Text("\xC2\x80\xC3\xA9"), u"\u0080\u00E9");
    // Nor is a lead byte (0x81) followed by DEL, which no trail byte is.
    EXPECT_EQ(platform::decodeUtf8Text("\xC3\x81\x7F"), u"\u00C1\u007F");
}
