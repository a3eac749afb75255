#include "core/text/EmojiSources.h"
#include "core/text/PhoneText.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::u16string utf16(std::u32string_view text) {
    std::u16string out;
    for (char32_t c : text) {
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            c = 0xDC00 + ((c - 0x10000) & 0x3FF);
        }
        out += static_cast<char16_t>(c);
    }
    return out;
}

// Each i-mode emoji and its Unicode sequence, the way typed or pasted emoji become i-mode ones:
// with the emoji presentation selector, before a keycap's mark.
TEST(EmojiSources, EveryImodeCodeMapsBothWays) {
    auto all = core::emojiSources();
    ASSERT_EQ(all.size(), 244u);
    // Lookups search by the private-use character: the table must be sorted and in range.
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.imode < b.imode; }));
    for (const core::EmojiSource& e : all) {
        ASSERT_TRUE(core::isImodeEmoji(e.imode));
        std::u32string unicode = core::unicodeOfImode(e.imode);
        unicode.insert(unicode.size() > 1 ? 1 : unicode.size(), 1, U'\uFE0F');
        const auto typed = core::phoneText(utf16(unicode), true);
        ASSERT_TRUE(typed) << std::hex << int(e.imode);
        EXPECT_EQ(typed->text, std::u16string(1, e.imode)) << std::hex << int(e.imode);
    }
    // F89F is the sun, F985 the keycap "#".
    EXPECT_EQ(platform::encodeCp932(u"\uE63E"), "\xF8\x9F");
    EXPECT_EQ(core::unicodeOfImode(0xE63E), U"\u2600");
    EXPECT_EQ(core::unicodeOfImode(0xE6E0), U"#\u20E3");
    // A code without a counterpart.
    EXPECT_EQ(core::unicodeOfImode(0xE6A6), U"");
}

} // namespace
