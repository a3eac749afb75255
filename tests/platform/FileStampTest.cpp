#include "platform/FileStamp.h"

#include "platform/Files.h"

#include "support/System.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace {

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

TEST(FileStamp, ChangesWithEveryWriteThatCouldGoUnseen) {
    test::TempFolder tmp;
    const std::u16string file = tmp.core() + u"\\emoji.CODE"; // found whatever its case
    EXPECT_FALSE(platform::fileStamp(file));
    EXPECT_FALSE(platform::fileStamp(tmp.core())); // a folder is no file

    tmp.write("Emoji.code", "one");
    const auto first = platform::fileStamp(file);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, 3u);
    EXPECT_EQ(platform::fileStamp(file), first);

    tmp.write("Emoji.code", "three");
    EXPECT_NE(platform::fileStamp(file), first);

    if (!test::onWindows) { // there a save within the clock's tick may keep the stamp: not settled then
        const auto before = platform::fileStamp(file);
        ASSERT_TRUE(platform::replaceFile(file, "other")); // a new file renamed over it, same size
        EXPECT_NE(platform::fileStamp(file), before);
    }
}

TEST(FileStamp, OnlyAStampOfSomeSecondsAgoIsSettled) {
    const std::int64_t now = nowNs(), second = 1'000'000'000;
    const auto stamp = [](std::int64_t modified, std::int64_t changed) {
        platform::FileStamp s;
        s.modified = modified;
        s.changed = changed;
        return s;
    };
    EXPECT_TRUE(platform::settled(stamp(now - 60 * second, now - 60 * second)));
    EXPECT_TRUE(platform::settled(stamp(now - 60 * second, 0))); // no change time kept
    EXPECT_FALSE(platform::settled(stamp(now, now - 60 * second)));
    EXPECT_TRUE(platform::settled(stamp(now - 60 * second, now))); // a write would set the write time
    EXPECT_FALSE(platform::settled(stamp(now - second, now - 60 * second)));
    EXPECT_FALSE(platform::settled(stamp(now + 60 * second, now + 60 * second))); // another machine's clock
}
