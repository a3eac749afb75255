#include "platform/Dir.h"
#include "platform/Files.h"

#include "support/HeldFile.h"
#include "support/OtherEditor.h"
#include "support/System.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using test::HeldFile;

namespace {

std::size_t filesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

} // namespace

// Names outside every ANSI code page but 932 (and some outside that too) go through the wide API.
TEST(FilesSharing, JapaneseNamesEverywhere) {
    test::TempFolder tmp;
    fs::create_directories(tmp.path() / u"ベッキー" / u"受信箱①");
    const std::u16string folder = tmp.core() + u"\\ベッキー\\受信箱①";
    const std::u16string box = folder + u"\\送信箱.mbx";

    EXPECT_TRUE(platform::folderExists(folder));
    EXPECT_TRUE(platform::appendRecord(box, "one\r\n"));
    EXPECT_EQ(platform::readBytes(box), "one\r\n");
    EXPECT_TRUE(platform::replaceFile(folder + u"\\設定.ini", "\x82\xa0\r\n"));
    EXPECT_EQ(platform::readLines(folder + u"\\設定.ini"), std::vector<std::u16string>{u"あ"});
    EXPECT_TRUE(platform::copyFile(box, folder + u"\\写し😀.mbx"));
    EXPECT_EQ(platform::list(folder + u"\\*", false),
              (std::vector<std::u16string>{u"写し😀.mbx", u"設定.ini", u"送信箱.mbx"}));
    EXPECT_TRUE(platform::removeFile(box));
    EXPECT_FALSE(platform::fileExists(box));
}

TEST(FilesSharing, ReplaceKeepsAHeldFile) {
    if (!test::onWindows)
        GTEST_SKIP() << "only Windows protects open files from a rename";
    test::TempFolder tmp;
    tmp.write("Kotori.ini", "old\r\n");
    const fs::path file = tmp.path() / "Kotori.ini";
    const std::u16string ini = tmp.core() + u"\\Kotori.ini";
    // A read-only file: see the files tests, which run here too.
    {
        // Open for reading and writing, the way a program holds a file it is using.
        HeldFile held(file, HeldFile::Sharing::ReadWrite);
        ASSERT_TRUE(held.held());
        EXPECT_FALSE(platform::replaceFile(ini, "new\r\n"));
        EXPECT_EQ(tmp.read("Kotori.ini"), "old\r\n");
        EXPECT_EQ(filesIn(tmp.path()), 2u); // the file and the "wine" folder: the temporary is gone
    }
    {
        // Whether a holder that allows deletion stands in the way differs between Windows
        // versions (and Wine): either the whole new file or the old one, never a mix.
        HeldFile held(file, HeldFile::Sharing::All);
        ASSERT_TRUE(held.held());
        const bool replaced = platform::replaceFile(ini, "newer\r\n");
        held.release();
        EXPECT_EQ(tmp.read("Kotori.ini"), replaced ? "newer\r\n" : "old\r\n");
        EXPECT_EQ(filesIn(tmp.path()), 2u);
    }
}

TEST(FilesSharing, AppendWaitsForAHolderThatSharesNothing) {
    if (!test::onWindows)
        GTEST_SKIP() << "only Windows lets an open file refuse others";
    test::TempFolder tmp;
    tmp.write("OutBox.mbx", "old\r\n");
    const fs::path file = tmp.path() / "OutBox.mbx";
    const std::u16string box = tmp.core() + u"\\OutBox.mbx";
    {
        HeldFile held(file, HeldFile::Sharing::None);
        ASSERT_TRUE(held.held());
        EXPECT_FALSE(platform::appendRecord(box, "rec\r\n"));
    }
    EXPECT_EQ(tmp.read("OutBox.mbx"), "old\r\n");
    {
        // A holder that shares writing lets the record in.
        HeldFile held(file, HeldFile::Sharing::ReadWrite);
        ASSERT_TRUE(held.held());
        EXPECT_TRUE(platform::appendRecord(box, "rec\r\n"));
    }
    EXPECT_EQ(tmp.read("OutBox.mbx"), "old\r\nrec\r\n");
}

TEST(FilesSharing, UpdateKeepsEveryRecordAppendedMeanwhile) {
    test::TempFolder tmp;
    tmp.write("addr.adr", "start\r\n");
    const std::u16string file = tmp.core() + u"\\addr.adr";
    const fs::path acknowledged = tmp.path() / "appended.log";
    constexpr int Appends = 120, Updates = 40;
    // Another editor appends lines, noting each one it was told went in.
    test::OtherEditor appender([&] {
        std::ofstream log(acknowledged, std::ios::binary);
        for (int i = 0; i < Appends; ++i) {
            if (platform::appendRecord(file, "append " + std::to_string(i) + "\r\n"))
                log << i << std::endl;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    });
    // Meanwhile this one rewrites the file from what it holds, adding a line each time.
    std::vector<std::string> expected = {"start"};
    for (int i = 0; i < Updates; ++i) {
        const std::string line = "update " + std::to_string(i);
        const bool updated = platform::updateFile(file, [&](const std::optional<std::string>& current) {
            return current ? std::optional<std::string>(*current + line + "\r\n") : std::nullopt;
        });
        // Windows refuses to rename over a file that the other editor holds open at that moment.
        if (updated)
            expected.push_back(line);
        else
            EXPECT_TRUE(test::onWindows) << line;
    }
    ASSERT_TRUE(appender.finished());
    std::ifstream log(acknowledged, std::ios::binary);
    for (std::string i; std::getline(log, i);)
        expected.push_back("append " + i);

    std::map<std::string, int> lines;
    std::istringstream content(tmp.read("addr.adr"));
    for (std::string line; std::getline(content, line);) {
        EXPECT_TRUE(line.ends_with('\r')) << line;
        ++lines[line.substr(0, line.size() - 1)];
    }
    for (const std::string& line : expected) {
        EXPECT_EQ(lines[line], 1) << line;
        lines.erase(line);
    }
    // The rest: appends that went in although the other editor was not told so (none here).
    for (const auto& [line, count] : lines)
        ADD_FAILURE() << "unexpected: " << line << " x" << count;
}
