#include "core/app/Strings.h"

#include <gtest/gtest.h>

TEST(Strings, WholeNumbersAndOnePassReplacing) {
    EXPECT_EQ(core::parseInteger(u"-3"), -3);
    EXPECT_FALSE(core::parseInteger(u"12a") || core::parseInteger(u"99999999999999999999999"));
    EXPECT_EQ(core::replaceAll(u"a\\nb\\n", u"\\n", u"\r\n"), u"a\r\nb\r\n");
    EXPECT_EQ(core::replaceAll(u"aaa", u"a", u"aa"), u"aaaaaa");
}
