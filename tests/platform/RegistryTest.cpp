#include "platform/Registry.h"

#include "platform/Cp932.h"
#include "platform/Paths.h"

#include "support/System.h"
#include "support/TempFolder.h"
#include "support/TestRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using platform::getRegString;
using platform::regBytes;

namespace {

const std::u16string users = u"Software\\RIMArts\\Rebecca\\Users\\";

std::string bytes(const char* text, std::size_t size) {
    return std::string(text, size);
}

// Writes $WINEPREFIX/user.reg; each test folder has its own prefix.
void writeHive(const test::TempFolder& tmp, const std::string& body) {
    tmp.write("wine/user.reg", "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1\n\n" + body);
}

} // namespace

TEST(Registry, ReadsWineWrittenHive) {
    if (test::onWindows)
        GTEST_SKIP() << "Wine's registry file stands in for the registry only elsewhere";
    test::TempFolder tmp;
    tmp.useWineFixture("wine-b1");
    EXPECT_EQ(getRegString(u"SOFTWARE\\rimarts\\rebecca\\SETTINGS\\", u"homedir"), u"C:\\Becky!\\");
    // An empty default value exists (a lone NUL), unlike a missing one.
    EXPECT_EQ(regBytes(u"AppEvents\\Schemes\\Apps\\Explorer\\Navigating\\.Current", u""), bytes("\0", 1));
    EXPECT_EQ(getRegString(users + u"0", u"NoSuchValue"), u"");
    // Binary spread over continuation lines.
    EXPECT_EQ(regBytes(u"Control Panel\\Desktop\\WindowMetrics", u"CaptionFont").size(), 92u);
    // The accounts as the start-up reads them; Japanese names, escaped by Wine, are code page
    // 932 bytes.
    EXPECT_EQ(regBytes(users + u"0", u"Account"), bytes("\x83\x81\x83\x43\x83\x93\0", 7));
    EXPECT_EQ(regBytes(users + u"0", u"MailDirNo"), bytes("\x70\0\0\0", 4));
    EXPECT_EQ(getRegString(users + u"1", u"Address"), u"taro@docomo.ne.jp");
    EXPECT_EQ(getRegString(users + u"2", u"Account"), u"会社");
    EXPECT_EQ(regBytes(users + u"3", u"Account"), ""); // three accounts and no more
}

// Values written the way Becky! writes them (through the registry API on Windows, into Wine's
// file elsewhere) read back as the ANSI API gives them on a Japanese system.
TEST(Registry, BeckyValuesReadAsCp932Bytes) {
    test::TempFolder tmp;
    test::TestRegistry reg(tmp.winePrefix());
    const std::u16string user0 = users + u"0";
    reg.setString(user0, u"Account", u"メイン");
    reg.setBinary(user0, u"MailDirNo", bytes("\x70\0\0\0", 4));
    reg.setDword(users + u"1", u"MailDirNo", 0x12345678);
    reg.setString(users + u"1", u"Account", u"ü①"); // no CP932 form for ü: its best fit
    reg.setString(u"Software\\RIMArts\\Rebecca\\Settings", u"", u"default");
    const std::u16string longAddress =
        u"x" + std::u16string(600, u'会'); // a cut at 1,024 bytes would split a character
    reg.setString(user0, u"Address", longAddress);

    EXPECT_EQ(regBytes(user0, u"Account"), bytes("\x83\x81\x83\x43\x83\x93\0", 7));
    EXPECT_EQ(getRegString(u"SOFTWARE\\rimarts\\REBECCA\\users\\0\\", u"ACCOUNT"), u"メイン");
    EXPECT_EQ(regBytes(user0, u"MailDirNo"), bytes("\x70\0\0\0", 4));
    EXPECT_EQ(regBytes(users + u"1", u"MailDirNo"), "\x78\x56\x34\x12");
    EXPECT_EQ(getRegString(users + u"1", u"Account"), u"u①");
    EXPECT_EQ(getRegString(u"Software\\RIMArts\\Rebecca\\Settings", u""), u"default");
    EXPECT_EQ(regBytes(users + u"9", u"Account"), "");

    EXPECT_EQ(regBytes(user0, u"Address"), platform::encodeCp932(longAddress) + '\0'); // read whole
}

TEST(Registry, ValueFormsAndMalformedLines) {
    if (test::onWindows)
        GTEST_SKIP() << "Wine's registry file stands in for the registry only elsewhere";
    test::TempFolder tmp;
    writeHive(tmp, "[Software\\\\Test] 1796587634\n"
                   "#time=1dd85bd6305eb20\n"
                   "\"Esc\"=\"a\\\\b\\\"c\\td\\101\\x41\\x0042\\x00411\\x30A2\\x30a4\"\n"
                   "\"Multi\"=str(7):\"a\\0b\\0\"\n"
                   "\"Binary\"=str(3):\"ab\"\n"
                   "\"Max\"=dword:ffffffff\n"
                   "\"WideHex\"=hex(2):41,00,42,00,00,00\n"
                   "\"Name With \\\"Quote\\\"\"=\"q\"\n"
                   "@=\"default\"\n"
                   "\"NoClose\"=\"abc\n"
                   "\"LongDword\"=dword:123456789\n"
                   "\"BadHex\"=hex:zz,01\n"
                   "\"Stray\"=hex:01,02,\\\n"
                   "[Next] 2\n"
                   "\"AfterStray\"=\"seen\"\n"
                   "[Broken\\\\Heading\n"
                   "\"Orphan\"=\"must not join Next\"\n"
                   "[Software\\\\Test] 2\n"
                   "\"Later\"=\"merged\"\n"
                   "\"Cont\"=hex:0a,0b,\\\n"
                   "  0c,\\");
    const std::u16string key = u"Software\\Test";
    EXPECT_EQ(getRegString(key, u"Esc"), u"a\\b\"c\tdAAB\u00411アイ");
    EXPECT_EQ(regBytes(key, u"Multi"), bytes("a\0b\0\0", 5));
    EXPECT_EQ(regBytes(key, u"Binary"), bytes("a\0b\0\0\0", 6)); // a string typed otherwise: UTF-16 as stored
    EXPECT_EQ(regBytes(key, u"Max"), "\xff\xff\xff\xff");
    EXPECT_EQ(regBytes(key, u"WideHex"), bytes("AB\0", 3));
    EXPECT_EQ(getRegString(key, u"name with \"quote\""), u"q");
    EXPECT_EQ(getRegString(key, u""), u"default");
    EXPECT_EQ(getRegString(key, u"Later"), u"merged");
    for (const char16_t* name : {u"NoClose", u"LongDword", u"BadHex"})
        EXPECT_EQ(regBytes(key, name), "") << platform::toUtf8(name);
    EXPECT_EQ(regBytes(key, u"Stray"), "\x01\x02");
    EXPECT_EQ(getRegString(u"Next", u"AfterStray"), u"seen");
    EXPECT_EQ(getRegString(u"Next", u"Orphan"), u"");
    EXPECT_EQ(regBytes(key, u"Cont"), "\x0a\x0b\x0c");

    writeHive(tmp, "[Good] 1\n\"A\"=\"1"); // cut short in a value
    EXPECT_EQ(getRegString(u"Good", u"A"), u"");
}

TEST(Registry, FollowsTheFileAndThePrefix) {
    if (test::onWindows)
        GTEST_SKIP() << "Wine's registry file stands in for the registry only elsewhere";
    test::TempFolder tmp;
    EXPECT_EQ(getRegString(u"K", u"V"), u""); // no file at all
    writeHive(tmp, "[K]\n\"V\"=\"one\"\n");
    EXPECT_EQ(getRegString(u"K", u"V"), u"one");
    // Same size, newer stamp: the cache must not hide the change.
    writeHive(tmp, "[K]\n\"V\"=\"two\"\n");
    fs::last_write_time(tmp.winePrefix() / "user.reg", fs::file_time_type::clock::now() + std::chrono::seconds(5));
    EXPECT_EQ(getRegString(u"K", u"V"), u"two");

    tmp.write("other/user.reg", "[K]\n\"V\"=\"elsewhere\"\n");
    test::setEnv("WINEPREFIX", (tmp.path() / "other").string());
    EXPECT_EQ(getRegString(u"K", u"V"), u"elsewhere");

    fs::create_directories(tmp.path() / "dir" / "user.reg"); // unreadable: a folder
    test::setEnv("WINEPREFIX", (tmp.path() / "dir").string());
    EXPECT_EQ(getRegString(u"K", u"V"), u"");
}
