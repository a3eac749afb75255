#include "core/text/EmojiSources.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(EmojiSources, EveryImodeCodeMapsBothWays) {
    auto all = core::emojiSources();
    ASSERT_EQ(all.size(), 244u);
    // Lookups search by the private-use character: the table must be sorted and in range.
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.imode < b.imode; }));
    for (const core::EmojiSource& e : all) {
        ASSERT_TRUE(core::isImodeEmoji(e.imode));
        std::u32string unicode = core::unicodeOfImode(e.imode);
        EXPECT_EQ(core::imodeOfUnicode(unicode), e.imode) << std::hex << int(e.imode);
    }
    // F89F is the sun, F985 the keycap "#"; with or without the emoji variation selector.
    EXPECT_EQ(platform::encodeCp932(u"\uE63E"), "\xF8\x9F");
    EXPECT_EQ(core::unicodeOfImode(0xE63E), U"\u2600");
    EXPECT_EQ(core::imodeOfUnicode(U"\u2600\uFE0F"), 0xE63E);
    EXPECT_EQ(core::imodeOfUnicode(U"#\uFE0F\u20E3"), 0xE6E0);
    // A code without a counterpart, and Unicode emoji DoCoMo never had.
    EXPECT_EQ(core::unicodeOfImode(0xE6A6), U"");
    EXPECT_EQ(core::imodeOfUnicode(U"\U0001F600"), 0);
}

} // namespace
