// The text with spare room, edited at random places beside a plain string edited alike.
#include "core/text/GapText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

TEST(GapText, EditsAndReadsLikeAPlainString) {
    std::mt19937 random(8122026);
    core::GapText gapped;
    std::u16string plain;
    const auto upTo = [&](std::size_t most) { return static_cast<std::size_t>(random() % (most + 1)); };
    std::size_t last = 0;
    for (int step = 0; step < 4000; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        // Mostly near the last edit, as typing goes, sometimes anywhere; now and then a long
        // insert that outgrows the room left.
        const std::size_t pos =
            random() % 4 ? std::min(plain.size(), last + upTo(8) - std::min<std::size_t>(last, 4)) : upTo(plain.size());
        const std::size_t removed = upTo(std::min<std::size_t>(plain.size() - pos, step % 50 == 0 ? 5000 : 3));
        std::u16string text(step % 97 == 0 ? 3000 : upTo(3), u'\0');
        for (char16_t& c : text)
            c = static_cast<char16_t>(u'a' + random() % 3);
        gapped.replace(pos, removed, text);
        plain.replace(pos, removed, text);
        last = pos + text.size();
        ASSERT_EQ(gapped.size(), plain.size());

        const std::size_t from = upTo(plain.size()), count = upTo(plain.size() - from);
        EXPECT_EQ(gapped.count(u'a', from, from + count),
                  static_cast<std::size_t>(std::count(plain.begin() + from, plain.begin() + from + count, u'a')));
        if (!plain.empty()) {
            const std::size_t at = upTo(plain.size() - 1);
            EXPECT_EQ(gapped[at], plain[at]);
            std::u16string other = plain;
            other[at] = u'z';
            EXPECT_FALSE(gapped.equals(other));
        }
        EXPECT_TRUE(gapped.equals(plain));
        EXPECT_FALSE(gapped.equals(plain + u"a"));
        ASSERT_EQ(gapped.view(from, count), std::u16string_view(plain).substr(from, count));
        if (step % 200 == 0) {
            ASSERT_EQ(gapped.whole(), plain);
        }
    }
}
