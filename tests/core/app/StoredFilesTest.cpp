// Odd and hostile values in the files the editor keeps and reads: pointer files, the registry,
// Kotori.ini, and text pasted into the single-line boxes.
#include "AppFixture.h"

#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace apptest;
namespace fs = std::filesystem;

TEST(StoredFiles, RegistryValuesStayOnOneLineAndAccountNamesMayHoldCommas) {
    App app;
    test::TestRegistry reg(app.folder.winePrefix());
    const std::u16string home = app.folder.core() + u"\\Becky!\\";
    const std::u16string users = u"Software\\RIMArts\\Rebecca\\Users\\";
    fs::create_directories(app.folder.path() / "Becky!/User3");
    reg.setString(u"Software\\RIMArts\\Rebecca\\Settings", u"HomeDir", home);
    reg.setString(users + u"0", u"Account", u"Sales, Tokyo");
    reg.setString(users + u"0", u"Address", u"me@docomo.ne.jp\r\nX-Evil:1");
    reg.setDword(users + u"0", u"MailDirNo", 3);
    reg.setString(users + u"1", u"Account", u"a,b\n,c");
    reg.setString(users + u"1", u"Address", u"b@example.jp\n");
    reg.setDword(users + u"1", u"MailDirNo", 4);
    app.prompts.question(u"***@docomo.ne.jpがいいよ。",
                         u"使用するi-mode用のメールアドレスは、[me@docomo.ne.jp X-Evil:1]でよろしいですか？",
                         Buttons::YesNo, Answer::Yes);
    app.editor.startup(u"");
    app.prompts.verify();
    EXPECT_EQ(app.folder.read("Becky.mil"), platform::encodeCp932(home) +
                                                "\r\nme@docomo.ne.jp X-Evil:1\r\n"
                                                "Sales, Tokyo,3\r\nme@docomo.ne.jp X-Evil:1\r\n"
                                                "a,b ,c,4\r\nb@example.jp \r\n");
    EXPECT_EQ(app.s().OutAdr[1].caption, u"me@docomo.ne.jp X-Evil:1");
}

TEST(StoredFiles, SettingsNumbersAreHeldToTheirRange) {
    App app;
    app.folder.write("Kotori.ini", "Xsiz=2147483647\r\nYsiz=1e12\r\nFont=1e30\r\nSei6=1\\99999\r\n");
    app.editor.loadSettings(); // no question: the limit is held at its largest value
    auto& s = app.s();
    EXPECT_EQ(s.window.outerHeight, 120000);
    EXPECT_EQ(s.window.innerHeight, 120000 - 1020);
    EXPECT_EQ(s.window.outerWidth, 120000);
    EXPECT_EQ(s.Text1.fontSize, 2048);
    EXPECT_EQ(app.editor.CharLimit, 32767);
}

TEST(StoredFiles, AnUnwritableSettingsFileIsReportedAndTheWindowStillCloses) {
    App app;
    fs::create_directories(app.folder.path() / "Kotori.ini"); // a folder of that name
    app.prompts.message(u"ことり便", app.folder.core() + u"\\Kotori.ini\r\nこのファイルに設定を保存できませんでした。");
    EXPECT_TRUE(app.editor.requestClose());
    app.prompts.verify();
    EXPECT_TRUE(fs::is_directory(app.folder.path() / "Kotori.ini"));
}
