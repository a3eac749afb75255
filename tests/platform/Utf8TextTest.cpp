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
