#include "platform/Dir.h"

#include "platform/Paths.h"
#include "platform/PathsCase.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using Names = std::vector<std::u16string>;

TEST(Dir, ListsMatchesInNtfsOrderWithOrWithoutFolders) {
    test::TempFolder tmp;
    for (const char* name : {"b.adr", "A.ADR", "_x.adr", "c.txt", "Zeta.adr", "x.adr.bak", "会社.adr"})
        tmp.write(std::string("Book/") + name, "1");
    fs::create_directories(tmp.path() / "Book" / "sub.adr");

    const std::u16string book = tmp.core() + u"\\Book";
    // Upper-cased order: '_' sorts after the letters, Japanese after ASCII.
    EXPECT_EQ(platform::list(book + u"\\*.adr", false),
              (Names{u"A.ADR", u"b.adr", u"Zeta.adr", u"_x.adr", u"会社.adr"}));
    EXPECT_EQ(platform::list(book + u"\\*.ADR", true),
              (Names{u"A.ADR", u"b.adr", u"sub.adr", u"Zeta.adr", u"_x.adr", u"会社.adr"}));
    EXPECT_EQ(platform::list(tmp.core() + u"\\BOOK\\c.TXT", false), (Names{u"c.txt"}));
    EXPECT_TRUE(platform::list(tmp.core() + u"\\Missing\\*", true).empty());
    EXPECT_TRUE(platform::list(book + u"\\c.txt\\*", true).empty()); // a file is no folder
    // Many stars against a long name stay fast (no exponential back-tracking).
    EXPECT_FALSE(platform::wildcardMatch(u"*a*a*a*a*a*a*a*a*a*b", std::u16string(5000, u'a')));
}

TEST(Dir, ExistsRemoveAndCopy) {
    test::TempFolder tmp;
    tmp.write("F/file.txt", "old content that is long");
    tmp.write("F/src.txt", "new");
    const std::u16string f = tmp.core() + u"\\F";

    EXPECT_TRUE(platform::fileExists(f + u"\\FILE.txt") && platform::folderExists(f + u"\\"));
    EXPECT_FALSE(platform::fileExists(f) || platform::folderExists(f + u"\\file.txt"));

    // The copy replaces the whole target, leaving no tail of the longer old content.
    EXPECT_TRUE(platform::copyFile(f + u"\\src.txt", f + u"\\file.txt"));
    EXPECT_EQ(tmp.read("F/file.txt"), "new");
    EXPECT_FALSE(platform::copyFile(f + u"\\none.txt", f + u"\\x.txt"));
    EXPECT_FALSE(tmp.exists("F/x.txt"));

    fs::create_directories(tmp.path() / "F" / "Empty");
    EXPECT_FALSE(platform::removeFile(f + u"\\Empty"));
    EXPECT_TRUE(tmp.exists("F/Empty"));
    EXPECT_TRUE(platform::removeFile(f + u"\\SRC.TXT"));
    EXPECT_FALSE(tmp.exists("F/src.txt"));
    EXPECT_TRUE(platform::removeFile(f + u"\\gone.txt"));
}
