#include "platform/Paths.h"

#include "platform/Dir.h"
#include "platform/Files.h"

#include "support/System.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using platform::nativePath;

TEST(Paths, DriveResolvesThroughFixtureLinkFileIgnoringCase) {
    if (test::onWindows)
        GTEST_SKIP() << "Wine's drive links stand in for drives only elsewhere";
    test::TempFolder tmp;
    tmp.useWineFixture("wine-b1");
    const fs::path beckyDir = tmp.winePrefix() / "drive_c" / "Becky!";

    EXPECT_TRUE(fs::equivalent(nativePath(u"C:\\Becky!\\User112"), beckyDir / "User112"));
    // Existing components take the case they have on disk; the drive letter may be either case.
    EXPECT_EQ(nativePath(u"c:\\BECKY!\\user112").lexically_normal(), (beckyDir / "User112").lexically_normal());
    // A new name keeps the case it was asked with, below the matched folder.
    EXPECT_EQ(nativePath(u"C:\\becky!\\USER0\\OutBox.MBX").lexically_normal(),
              (beckyDir / "User0" / "OutBox.MBX").lexically_normal());
    // A trailing separator still names the folder.
    EXPECT_TRUE(fs::is_directory(nativePath(u"C:\\Becky!\\\\AddrBook")));
}

TEST(Paths, DriveThroughRealSymlinkAndPrefixReadEachCall) {
    if (test::onWindows)
        GTEST_SKIP() << "Wine's drive links stand in for drives only elsewhere";
    test::TempFolder tmp;
    fs::create_directories(tmp.winePrefix() / "dosdevices");
    fs::create_directories(tmp.path() / "elsewhere" / "Data");
    fs::create_symlink("../../elsewhere", tmp.winePrefix() / "dosdevices" / "d:");
    tmp.write("elsewhere/Data/Mail.TXT", "x");
    EXPECT_TRUE(fs::equivalent(nativePath(u"D:\\data\\mail.txt"), tmp.path() / "elsewhere" / "Data" / "Mail.TXT"));

    // Another prefix without that drive: the same path resolves somewhere else now.
    fs::create_directories(tmp.path() / "other" / "dosdevices");
    test::setEnv("WINEPREFIX", (tmp.path() / "other").string());
    EXPECT_FALSE(fs::exists(nativePath(u"D:\\data\\mail.txt")));
    EXPECT_EQ(nativePath(u"D:\\x").parent_path(), tmp.path() / "other" / "dosdevices" / "d:");
}

namespace {

// Windows resolves names ignoring case itself and takes the path as it is; elsewhere the
// mapping finds the name on disk.
::testing::AssertionResult names(const fs::path& mapped, const fs::path& onDisk) {
    std::error_code ec;
    if (test::onWindows ? fs::equivalent(mapped, onDisk, ec) : mapped == onDisk)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << platform::toUtf8(platform::fromNative(mapped)) << " does not name "
                                         << platform::toUtf8(platform::fromNative(onDisk));
}

} // namespace

TEST(Paths, NativeAbsolutePathsMatchIgnoringCase) {
    test::TempFolder tmp;
    tmp.write("Data/File.TXT", "x");
    tmp.write("Data/\xE4\xBC\x9A\xE7\xA4\xBE/A.txt", "y"); // 会社
    EXPECT_TRUE(names(nativePath(tmp.core() + u"\\data\\file.txt"), tmp.path() / "Data" / "File.TXT"));
    EXPECT_TRUE(names(nativePath(tmp.core() + u"/DATA\\会社\\a.TXT"), tmp.path() / u"Data" / u"会社" / u"A.txt"));
    // Letters beyond ASCII have their cases too: Latin pairs, Greek, Cyrillic, full-width.
    tmp.write("Data/ĀŋĺźΣжａ.txt", "z");
    EXPECT_TRUE(names(nativePath(tmp.core() + u"\\data\\āŊĹŹσЖＡ.txt"), tmp.path() / u"Data" / u"ĀŋĺźΣжａ.txt"));
    if (!test::onWindows) { // the final sigma as Windows folds it; Wine's own file names do not
        tmp.write("Data/ΣΣ.txt", "s");
        EXPECT_TRUE(names(nativePath(tmp.core() + u"\\data\\σς.txt"), tmp.path() / u"Data" / u"ΣΣ.txt"));
    }
}

TEST(Paths, DotDotIsResolvedOnTheTextAndForeignFormsNameNothing) {
    if (test::onWindows)
        GTEST_SKIP() << "Windows resolves these forms itself; the mapping works only elsewhere";
    test::TempFolder tmp;
    tmp.useWineFixture("wine-b1");
    const fs::path beckyDir = tmp.winePrefix() / "drive_c" / "Becky!";
    // "Gone" does not exist; Windows drops it with the "..", so does the mapping.
    EXPECT_TRUE(fs::equivalent(nativePath(u"C:\\Becky!\\Gone\\..\\User112"), beckyDir / "User112"));
    EXPECT_TRUE(fs::equivalent(nativePath(u"C:\\..\\..\\Becky!"), beckyDir)); // never above the root
    EXPECT_EQ(nativePath(tmp.core() + u"\\a\\..\\b"), tmp.path() / "b");

    // Another machine's share, or a path relative to a drive's current folder: nothing here.
    for (const char16_t* path : {u"//server/share", u"C:Becky!\\User112"})
        EXPECT_TRUE(nativePath(path).empty()) << platform::toUtf8(path);
    EXPECT_FALSE(platform::folderExists(u"C:Becky!\\User112"));
    EXPECT_TRUE(platform::list(u"\\\\server\\share\\*", true).empty());
    EXPECT_FALSE(platform::appendRecord(u"\\\\server\\share\\x.mbx", "x"));
    EXPECT_FALSE(platform::replaceFile(u"C:kotori.dat", "x"));
}

#ifndef _WIN32
namespace {

unsigned modeOf(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777u : 0u;
}

} // namespace

// A copy in a folder of its own (./run, a portable copy) keeps its files beside the executable.
TEST(ProgramFolder, AWritableExecutableFolderIsTheProgramFolder) {
    test::TempFolder tmp;
    fs::create_directories(tmp.path() / "portable");
    const fs::path home = tmp.path() / "home";
    EXPECT_EQ(platform::programFolderFor(tmp.path() / "portable", home.string(), ""), tmp.path() / "portable");
    EXPECT_FALSE(fs::exists(home)); // nothing made for the user

    // This test program's own folder, when it may write there (the build folder of whoever built it).
    std::error_code ec;
    const fs::path own = fs::read_symlink("/proc/self/exe", ec).parent_path();
    // An installed copy's readme lies in share/doc beside its bin folder.
    EXPECT_EQ(platform::documentFolder(), platform::fromNative(own.parent_path() / "share" / "doc" / "kotori"));
    if (::access(own.c_str(), W_OK) == 0) {
        EXPECT_EQ(platform::programFolder(), platform::fromNative(own));
        // A session without HOME (some launchers give none) starts all the same.
        const char* home = std::getenv("HOME");
        const std::string saved = home ? home : "";
        ::unsetenv("HOME");
        EXPECT_EQ(platform::programFolder(), platform::fromNative(own));
        if (home)
            ::setenv("HOME", saved.c_str(), 1);
    }
}

// Installed under /usr, where the user cannot write: the files go to the user's private data folder.
TEST(ProgramFolder, AnUnwritableExecutableFolderSendsTheFilesToTheUsersDataFolder) {
    test::TempFolder tmp;
    const fs::path home = tmp.path() / "\xE3\x83\x9B\xE3\x83\xBC\xE3\x83\xA0"; // ホーム
    fs::create_directories(home);
    fs::path bin = tmp.path() / "usr" / "bin";
    fs::create_directories(bin);
    fs::permissions(bin, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
    if (::geteuid() == 0)
        bin = tmp.path() / "gone" / "bin"; // root writes whatever the mode: a folder that is not there

    const fs::path data = home / ".local" / "share" / "kotori";
    EXPECT_EQ(platform::programFolderFor(bin, home.string(), ""), data);
    EXPECT_EQ(modeOf(data), 0700u);
    EXPECT_EQ(modeOf(home / ".local"), 0700u); // the missing parents too
    EXPECT_EQ(modeOf(home / ".local" / "share"), 0700u);

    // Later starts take it as they find it, files and mode.
    tmp.write("\xE3\x83\x9B\xE3\x83\xBC\xE3\x83\xA0/.local/share/kotori/Kotori.ini", "imde=1\r\n");
    fs::permissions(data, fs::perms::group_read | fs::perms::group_exec, fs::perm_options::add);
    EXPECT_EQ(platform::programFolderFor(bin, home.string(), ""), data);
    EXPECT_EQ(modeOf(data), 0750u);
    EXPECT_EQ(tmp.read("\xE3\x83\x9B\xE3\x83\xBC\xE3\x83\xA0/.local/share/kotori/Kotori.ini"), "imde=1\r\n");

    // $XDG_DATA_HOME moves it; a relative value is no such setting.
    const fs::path xdg = tmp.path() / "xdg";
    EXPECT_EQ(platform::programFolderFor(bin, home.string(), xdg.string()), xdg / "kotori");
    EXPECT_EQ(modeOf(xdg / "kotori"), 0700u);
    EXPECT_EQ(platform::programFolderFor(bin, home.string(), "xdg"), data);
}
#endif
