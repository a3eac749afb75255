#include "AppFixture.h"

#include "core/app/Strings.h"
#include "platform/Cp932.h"
#include "support/System.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace apptest;

namespace {

const std::u16string AddressTitle = u"***@docomo.ne.jpがいいよ。";

std::u16string addressQuestion(std::u16string_view proposal) {
    return u"使用するi-mode用のメールアドレスは、[" + std::u16string(proposal) + u"]でよろしいですか？";
}

void expectAddressInput(test::ScriptedPrompts& p, std::u16string answer) {
    p.input(u"あなたのメールアドレスを教えてください。", u"Your MailAdr!", u"@docomo.ne.jp", std::move(answer));
}

// A Wine prefix whose registry names a Becky! 2 data folder on drive C.
void fakeBecky2(const test::TempFolder& f) {
    f.write("wine/user.reg", "WINE REGISTRY Version 2\n"
                             ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n\n"
                             "[Software\\\\RIMArts\\\\B2\\\\Settings] 1796587634\n#time=1dd85bd6305eb20\n"
                             "\"DataDir\"=\"C:\\\\Becky2\\\\\"\n\n");
    std::filesystem::create_directories(f.winePrefix() / "drive_c/Becky2/Main.mb/!!!!Outbox");
    std::filesystem::create_directories(f.winePrefix() / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", f.winePrefix() / "dosdevices/c:");
}

// The account box as "name/number" entries.
std::vector<std::u16string> accounts(const core::MainState& s) {
    std::vector<std::u16string> out;
    for (const auto& item : s.Combo2.items)
        out.push_back(item.text + u"/" + core::ascii(std::to_string(item.data)));
    return out;
}

using Texts = std::vector<std::u16string>;

const std::u16string Ver2 = u"Becky Ver.2.0がインストールされています。暫定対応しますか？";
const std::u16string NoOutbox = u"Becky2の送信箱を選定することができませんでした。確定しますか?";

} // namespace

TEST(Startup, WithoutAnyBeckyTheMailFunctionsAreSwitchedOff) {
    App app;
    app.expectNoBeckyMessage();
    app.editor.startup(u"");

    auto& s = app.s();
    EXPECT_FALSE(s.ReadMe.enabled || s.Command6.enabled || s.MnuOpenHelp.enabled); // no file, no command
    EXPECT_EQ(app.editor.BeckyPath, u"NO Becky");
    EXPECT_FALSE(s.Check2.visible || s.Check2.checked || s.Frame3.visible || s.Combo2.visible);
    EXPECT_FALSE(s.Command2.enabled || s.Command7.enabled || s.imenu.enabled || s.MnuWindow.enabled);
    EXPECT_EQ(s.Text1.rect.width, 7950); // the body takes the preview's place
    EXPECT_TRUE(s.OutAdr[0].checked && s.OutAdrChg[0].checked);
    EXPECT_EQ(s.PutChar.size(), 1u);
    EXPECT_FALSE(app.folder.exists("Becky.mil"));

    // The next start begins with the preview hidden and the i-mode setting off.
    EXPECT_TRUE(app.editor.requestClose());
    const std::string ini = app.folder.read("Kotori.ini");
    EXPECT_NE(ini.find("imde=0\r\n"), std::string::npos);
    EXPECT_NE(ini.find("Look=False\r\n"), std::string::npos);
}

// A Becky! 1 folder with no account in it sends nowhere: no pointer file is written for it.
TEST(Startup, ABecky1WithoutAnAccountIsNoBecky) {
    App app;
    test::TestRegistry reg(app.folder.winePrefix());
    std::filesystem::create_directories(app.folder.path() / "Becky!");
    reg.setString(u"Software\\RIMArts\\Rebecca\\Settings", u"HomeDir", app.folder.core() + u"\\Becky!\\");
    app.prompts.question(u"***@docomo.ne.jpがいいよ。", u"使用するi-mode用のメールアドレスは、[]でよろしいですか？",
                         Buttons::YesNo, Answer::Yes);
    app.expectNoBeckyMessage();
    app.editor.startup(u"");
    EXPECT_EQ(app.editor.BeckyPath, u"NO Becky");
    EXPECT_FALSE(app.folder.exists("Becky.mil"));
}

TEST(Startup, PresentFilesAreUsedAndAnUnreadableCommandLineIsReported) {
    App app;
    app.folder.write("readme.txt", "read me\r\n");
    app.folder.write("Emoji.code", "\xF8\x9F\thare\r\nx\r\n"); // the short line is no entry
    for (int i = 1; i < 25; ++i)
        app.folder.write("Emoji.code", app.folder.read("Emoji.code") + "a\tword" + std::to_string(i) + "\r\n");
    app.prompts.message(u"ことり便", u"/no/such/file.txt\r\nこのファイルを読み込むことができませんでした。");
    app.expectNoBeckyMessage();
    app.editor.startup(u"\"/no/such/file.txt\"");

    auto& s = app.s();
    EXPECT_TRUE(s.ReadMe.enabled);
    ASSERT_EQ(s.PutChar.size(), 20u);
    EXPECT_EQ(s.PutChar[0].caption, u"\uE63E   =   hare");
    EXPECT_EQ(s.PutChar[19].caption, u"a   =   word19");
}

// An installed copy finds readme.txt among its documents; one in the program folder comes first.
TEST(Startup, ReadMeFromTheProgramFolderElseTheDocumentFolder) {
    test::TempFolder docs;
    docs.write("readme.txt", "installed\r\n");
    {
        App app(docs.core());
        app.expectNoBeckyMessage();
        app.editor.startup(u"");
        EXPECT_TRUE(app.s().ReadMe.enabled);
        app.editor.readMe();
        app.folder.write("readme.txt", "own\r\n");
        app.editor.readMe();
        ASSERT_EQ(app.view.opened.size(), 2u);
        EXPECT_EQ(app.view.opened[0], docs.core() + u"\\readme.txt");
        EXPECT_EQ(app.view.opened[1], app.folder.core() + u"\\readme.txt");
    }
    // Neither has one: the menu entry is off and the command opens nothing.
    std::filesystem::remove(docs.path() / "readme.txt");
    App app(docs.core());
    app.expectNoBeckyMessage();
    app.editor.startup(u"");
    EXPECT_FALSE(app.s().ReadMe.enabled);
    app.editor.readMe();
    EXPECT_TRUE(app.view.opened.empty());
}

// The values as Becky! writes them through the registry API (on Windows) or as Wine stores them.
TEST(Startup, FindsBecky126FromItsRegistryValues) {
    App app;
    test::TestRegistry reg(app.folder.winePrefix());
    const std::u16string home = registerBecky1(app, reg);
    app.prompts.question(AddressTitle, addressQuestion(u"taro@example.ne.jp"), Buttons::YesNo, Answer::No);
    expectAddressInput(app.prompts, u"hanako@docomo.ne.jp");
    app.editor.startup(u"");
    app.prompts.verify();

    auto& s = app.s();
    EXPECT_EQ(app.editor.BeckyPath, home);
    EXPECT_EQ(accounts(s), (Texts{u"メイン/112", u"sub/0", u"会社/5"}));
    ASSERT_EQ(s.OutAdr.size(), 4u);
    EXPECT_EQ(s.OutAdr[0].caption, u"hanako@docomo.ne.jp");
    EXPECT_EQ(s.OutAdr[3].caption, u"t.yamada@example.co.jp");
    EXPECT_TRUE(s.Check2.checked && s.Check2.visible && s.OutAdr[0].checked);
    EXPECT_EQ(s.Combo2.listIndex, 0);
    EXPECT_EQ(app.folder.read("Becky.mil"), platform::encodeCp932(home) +
                                                "\r\nhanako@docomo.ne.jp\r\n"
                                                "\x83\x81\x83\x43\x83\x93,112\r\ntaro@example.ne.jp\r\n"
                                                "sub,0\r\ntaro@docomo.ne.jp\r\n"
                                                "\x89\xef\x8e\xd0,5\r\nt.yamada@example.co.jp\r\n");
}

TEST(Startup, PointerFilesChooseTheBecky) {
    const std::string becky2 = "C:\\Becky2\\Main.mb\\!!!!Outbox\\1.bmf\r\nme@docomo.ne.jp\r\nme@example.jp\r\n";
    {
        App app; // both files and the plug-in: Becky! 2 without a question
        app.folder.write("Becky.mil", "x\r\ny\r\n");
        app.folder.write("Becky2.mil", becky2);
        app.folder.write("Kotoplug.dll", "");
        app.editor.startup(u"");
        auto& s = app.s();
        EXPECT_EQ(app.editor.BeckyPath, u"C:\\Becky2\\Main.mb\\!!!!Outbox\\1.bmf");
        EXPECT_EQ(accounts(s), Texts{u"B2送信箱/200"});
        EXPECT_TRUE(app.editor.Becky2InUse);
        EXPECT_EQ(s.Combo2.listIndex, 0);
        ASSERT_EQ(s.OutAdr.size(), 2u);
        EXPECT_EQ(s.OutAdr[1].caption, u"me@example.jp");
        EXPECT_FALSE(s.TotyuuSave.enabled || s.ReadingBecky[0].enabled || s.Command2.enabled);
        EXPECT_TRUE(s.Command7.enabled);
    }
    {
        App app; // answered No: Becky.mil as if alone; its first account's folder exists
        const std::string home = app.folder.path().string() + "\\";
        std::filesystem::create_directories(app.folder.path() / "User7");
        app.folder.write("Becky.mil", home + "\r\nme@docomo.ne.jp\r\nmain,7\r\nmain@example.jp\r\nsub,9\r\n");
        app.folder.write("Becky2.mil", becky2);
        app.prompts.question(u"ことり便起動チェック", u"B2暫定対応版として起動しますか？", Buttons::YesNo, Answer::No);
        app.editor.startup(u"");
        auto& s = app.s();
        EXPECT_EQ(app.editor.BeckyPath, app.folder.core() + u"\\");
        EXPECT_EQ(accounts(s), (Texts{u"main/7", u"sub/9"}));
        EXPECT_FALSE(app.editor.Becky2InUse);
        ASSERT_EQ(s.OutAdr.size(), 3u);
        EXPECT_EQ(s.OutAdr[1].caption, u"main@example.jp");
        EXPECT_EQ(s.OutAdr[2].caption, u""); // the address line is missing
        // Only a fresh discovery switches the i-mode setting on.
        EXPECT_TRUE(s.TotyuuSave.enabled && !s.Check2.checked);
    }
}

TEST(Startup, AMissingMailFolderIsRepairedOrGivenUp) {
    const std::u16string question =
        u"beckyの設定が変更されている可能性があります。修正しますか？\r\n※修正しないと送信処理が行えません。";
    {
        App app; // no account line: the folder looked for is User2000
        app.folder.write("Becky.mil", app.folder.path().string() + "\\\r\nme@docomo.ne.jp\r\nno comma here\r\n");
        app.prompts.question(u"べっきー", question, Buttons::YesNo, Answer::No);
        app.expectNoBeckyMessage();
        app.editor.startup(u"");
        EXPECT_TRUE(app.s().Combo2.items.empty());
        EXPECT_EQ(app.s().OutAdr.size(), 1u);
        EXPECT_EQ(app.editor.BeckyPath, u"NO Becky");
    }
    {
        App app; // repaired from the registry; the own address is kept without asking
        test::TestRegistry reg(app.folder.winePrefix());
        const std::u16string home = registerBecky1(app, reg);
        app.folder.write("Becky.mil", "C:\\Old\\\r\nme@docomo.ne.jp\r\nmain,112\r\nold@example.jp\r\n");
        app.prompts.question(u"べっきー", question, Buttons::YesNo, Answer::Yes);
        app.editor.startup(u"");
        EXPECT_EQ(app.editor.BeckyPath, home);
        ASSERT_EQ(app.s().Combo2.items.size(), 3u); // emptied first, not appended to
        ASSERT_EQ(app.s().OutAdr.size(), 4u);       // reused, not duplicated
        EXPECT_EQ(app.s().OutAdr[1].caption, u"taro@example.ne.jp");
        EXPECT_EQ(app.folder.read("Becky.mil").substr(0, home.size() + 19),
                  platform::encodeCp932(home) + "\r\nme@docomo.ne.jp\r\n");
    }
}

namespace {

// A window whose user puts a mail into Becky! 2's outbox while the editor waits.
class MailArrivesView : public test::FakeView {
public:
    MailArrivesView(core::Editor* e, std::filesystem::path outbox) : FakeView(e), m_outbox(std::move(outbox)) {}
    bool waitUntil(const std::function<bool()>& done, int timeoutMs, int intervalMs) override {
        ++waits;
        EXPECT_EQ(timeoutMs, 30000);
        EXPECT_GT(intervalMs, 0);
        if (done())
            return true;
        std::ofstream(m_outbox / "0001.bmf") << "";
        return done();
    }
    int waits = 0;

private:
    std::filesystem::path m_outbox;
};

} // namespace

TEST(Startup, SetsUpBecky2AndEnds) {
    if (test::onWindows)
        GTEST_SKIP() << "a Wine prefix stands in for Becky!'s registry and drive only elsewhere";
    const std::u16string putMail =
        u"Becky2の送信箱を確定するために、Becky2を起動してメールを送信箱に入れてみてください。";
    {
        App app;
        fakeBecky2(app.folder);
        const auto mailbox = app.folder.winePrefix() / "drive_c/Becky2/Main.mb";
        app.folder.write("wine/drive_c/Becky2/Main.mb/Mailbox.ini", "[Account]\r\nMailAddress=jiro@example.jp\r\n");
        MailArrivesView view(&app.editor, mailbox / "!!!!Outbox");
        app.editor.setView(&view);
        app.prompts.question(u"Ver.2.0無理矢理対応", Ver2, Buttons::YesNo, Answer::Yes);
        app.prompts.question(AddressTitle, addressQuestion(u"jiro@example.jp"), Buttons::YesNo, Answer::No);
        expectAddressInput(app.prompts, u"jiro@docomo.ne.jp");
        app.prompts.question(u"確定しますか?", NoOutbox, Buttons::YesNo, Answer::Yes);
        app.prompts.message(u"ことり便", putMail);
        app.prompts.message(u"暫定対応！", u"Becky2に暫定対応しました。");
        app.editor.startup(u"");
        EXPECT_EQ(app.folder.read("Becky2.mil"),
                  "C:\\Becky2\\Main.mb\\!!!!Outbox\\0001.bmf\r\njiro@docomo.ne.jp\r\njiro@example.jp\r\n");
        EXPECT_EQ(std::pair(view.waits, view.broughtToFront), std::pair(1, 1));
        EXPECT_TRUE(view.closed && app.editor.ProgramEnding && !app.s().window.visible);
        EXPECT_TRUE(app.folder.exists("Kotori.ini")); // the close saved the settings
    }
    {
        App app; // no mail address known, the user gives up waiting
        fakeBecky2(app.folder);
        app.prompts.question(u"Ver.2.0無理矢理対応", Ver2, Buttons::YesNo, Answer::Yes);
        app.prompts.question(AddressTitle, addressQuestion(u""), Buttons::YesNo, Answer::Yes);
        app.prompts.question(u"確定しますか?", NoOutbox, Buttons::YesNo, Answer::Yes);
        app.prompts.message(u"ことり便", putMail);
        for (Answer a : {Answer::Yes, Answer::No})
            app.prompts.question(u"質問", u"Becky2を起動して何でも良いのでメールを送信箱に移動しましたか？",
                                 Buttons::YesNo, a);
        app.prompts.question(u"質問", u"Becky2への暫定対応を中止しますか？", Buttons::YesNo, Answer::Yes);
        app.editor.startup(u"");
        EXPECT_FALSE(app.folder.exists("Becky2.mil"));
        EXPECT_EQ(app.editor.BeckyPath, u"C:\\Becky2\\Main.mb\\!!!!Outbox");
        EXPECT_FALSE(app.editor.ProgramEnding || app.view.closeAsked);
    }
    {
        App app; // a mailbox folder without an outbox, then an outbox the user will not fix
        fakeBecky2(app.folder);
        std::filesystem::remove_all(app.folder.winePrefix() / "drive_c/Becky2/Main.mb/!!!!Outbox");
        app.prompts.question(u"Ver.2.0無理矢理対応", Ver2, Buttons::YesNo, Answer::Yes);
        app.prompts.message(u"ことり便",
                            u"対応されていないエラーその２が生じたようです。ことり便pluginの完成をお待ち下さい。");
        app.editor.startup(u"");
        app.prompts.verify();
        EXPECT_EQ(app.editor.BeckyPath, u"C:\\Becky2\\Main.mb");

        std::filesystem::create_directories(app.folder.winePrefix() / "drive_c/Becky2/Main.mb/!!!!Outbox");
        app.prompts.question(u"Ver.2.0無理矢理対応", Ver2, Buttons::YesNo, Answer::Yes);
        app.prompts.question(AddressTitle, addressQuestion(u""), Buttons::YesNo, Answer::Yes);
        app.prompts.question(u"確定しますか?", NoOutbox, Buttons::YesNo, Answer::No);
        app.prompts.message(u"あしからず", u"暫定対応は、しないことにします。");
        app.s().window.visible = true; // the set-up hides the window on screen while it asks
        app.view.shownAtRefresh.clear();
        app.editor.discoverBecky();
        EXPECT_FALSE(app.folder.exists("Becky2.mil"));
        EXPECT_EQ(app.editor.BeckyPath, u"C:\\Becky2\\Main.mb\\!!!!Outbox");
        ASSERT_FALSE(app.view.shownAtRefresh.empty());
        EXPECT_FALSE(app.view.shownAtRefresh.front());
        EXPECT_TRUE(app.view.shownAtRefresh.back() && app.s().window.visible);
    }
}

TEST(Startup, RecordsCutShortByAKillAreTakenBackBeforeAnythingReadsThem) {
    App app;
    const std::string home = app.folder.path().string() + "\\";
    app.folder.write("Becky.mil", home + "\r\nme@docomo.ne.jp\r\nmain,7\r\nmain@example.jp\r\n");
    // Each file holds a whole line and part of one that a killed append left, with its journal.
    const std::vector<std::string> files = {"addr.adr", "Keitai.pre", "OutPutLog.mbx", "User7/OutBox.mbx",
                                            "User7/OutBox/Draft.mbx"};
    for (const std::string& name : files) {
        app.folder.write(name, "a@docomo.ne.jp\r\nb@doc");
        app.folder.write(name + ".jnl", "16 32\n");
    }
    app.editor.startup(u"");
    for (const std::string& name : files) {
        EXPECT_EQ(app.folder.read(name), "a@docomo.ne.jp\r\n") << name;
        EXPECT_FALSE(app.folder.exists(name + ".jnl")) << name;
    }
    // The destinations follow the window's first paint, and come only once.
    EXPECT_TRUE(app.s().Combo1.items.empty());
    app.editor.afterFirstPaint();
    ASSERT_EQ(app.s().Combo1.items.size(), 1u); // the address book shows no broken entry
    EXPECT_EQ(app.s().Combo1.items[0].text, u"a@docomo.ne.jp");
    app.s().Combo1.items.push_back({u"sent@docomo.ne.jp", 0});
    app.editor.afterFirstPaint();
    EXPECT_EQ(app.s().Combo1.items.size(), 2u);
}
