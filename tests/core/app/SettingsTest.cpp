#include "AppFixture.h"

#include <gtest/gtest.h>

using namespace apptest;

TEST(Settings, LoadAppliesEachKnownLineAndIgnoresTheRest) {
    App other;
    other.folder.write("Kotori.ini",
                       "Xsiz=abc\r\nYsiz\r\nXsiz=7200\r\nYsiz=-5\r\nYsiz=9000.4\r\nSsyo=1\r\nSei0=1\r\nSei1=7\r\n"
                       "IONO=True\r\nIPUT=1\r\nIEND=maybe\r\nBcOp=True\r\nBcOp=False\r\nAcnt=2\r\n"
                       "LogD=x\r\nLook=False\r\nxxxx=1\r\n\r\nSnam=abc\\ndef\r\nFont=1\r\nFont=0\r\n");
    other.editor.loadSettings();
    auto& t = other.s();
    EXPECT_EQ(t.window.outerHeight, 7200);
    EXPECT_EQ(t.window.innerHeight, 7200 - 1020);
    EXPECT_EQ(t.window.outerWidth, 9000);
    EXPECT_EQ(t.Label3[1].caption, u"・署名追加：ON");
    EXPECT_TRUE(t.signatureOn);
    EXPECT_TRUE(t.Check1[0].checked && t.IOutNO.checked && t.IOutput.checked);
    EXPECT_FALSE(t.Check1[1].checked || t.IOutEnd.checked);
    EXPECT_FALSE(t.OutBcc.checked); // the later line wins
    EXPECT_EQ(t.accountIndex, 2);
    EXPECT_FALSE(t.Frame3.visible);
    EXPECT_EQ(t.Text2.rect.width, (9000 - 240) - 1080); // the layout follows at once
    EXPECT_EQ(other.editor.SignatureText, u"abc\\ndef");
    EXPECT_EQ(t.Label6.caption, u"x");
    EXPECT_EQ(t.Text1.fontSize, 1); // the smallest size is taken, a size of none is not
}

TEST(Settings, LimitLineStoresTheLimitBeforeTheBox) {
    App app;
    app.folder.write("Kotori.ini", "Sei6=0\\250\r\n");
    app.editor.loadSettings();
    EXPECT_FALSE(app.s().Check1[6].checked);
    EXPECT_EQ(app.s().presetLimit, 250);

    App checked;
    checked.folder.write("Kotori.ini", "Sei6=1\\250\r\n");
    checked.editor.loadSettings(); // no limit question: the stored limit answers it
    EXPECT_TRUE(checked.s().Check1[6].checked);
    EXPECT_EQ(checked.editor.CharLimit, 250);
}

// Reading a settings file and closing the window writes the same bytes back, for every key.
TEST(Settings, CloseWritesBackExactlyWhatWasRead) {
    const std::string everythingOn =
        "Xsiz=7200\r\nYsiz=9000\r\nSei0=1\r\nSei1=1\r\nSei2=1\r\nSei3=1\r\nSei4=1\r\nSei5=1\r\n"
        "Sei6=1\\300\r\nSei7=1\r\nSei8=1\r\nSnam=abc\\ndef\r\nSsyo=1\r\nimde=0\r\naddr=3\r\nATTI=True\r\n"
        "Font=10.5\r\nIONO=True\r\nIPUT=True\r\nIEND=True\r\nAcnt=2\r\nAcOp=2\r\nMyad=4\r\nBcOp=True\r\n"
        "LogD=\x91\x90\x8d\x65\x81\x46\x33_\x83\x8d\x83\x4f\x81\x46\x37\r\nLook=False\r\n";
    // The i-mode setting checks the limit boxes and auto-replace while it is on; closing puts them back.
    const std::string everythingOff =
        "Xsiz=8010\r\nYsiz=8190\r\nSei0=0\r\nSei1=0\r\nSei2=0\r\nSei3=0\r\nSei4=0\r\nSei5=0\r\n"
        "Sei6=0\\250\r\nSei7=0\r\nSei8=0\r\nSnam=\r\nSsyo=0\r\nimde=1\r\naddr=0\r\nATTI=False\r\nFont=12\r\n"
        "IONO=False\r\nIPUT=False\r\nIEND=False\r\nAcnt=0\r\nAcOp=0\r\nMyad=0\r\nBcOp=False\r\nLogD=\r\n"
        "Look=True\r\n";
    const std::string mixed =
        "Xsiz=6000\r\nYsiz=12000\r\nSei0=0\r\nSei1=1\r\nSei2=0\r\nSei3=1\r\nSei4=0\r\nSei5=1\r\n"
        "Sei6=0\\0\r\nSei7=1\r\nSei8=0\r\nSnam=x\r\nSsyo=0\r\nimde=0\r\naddr=12\r\nATTI=False\r\nFont=9\r\n"
        "IONO=False\r\nIPUT=True\r\nIEND=False\r\nAcnt=1\r\nAcOp=1\r\nMyad=2\r\nBcOp=False\r\nLogD=log\r\n"
        "Look=True\r\n";
    for (const std::string& file : {everythingOn, everythingOff, mixed}) {
        App app;
        app.folder.write("Kotori.ini", file);
        app.editor.loadSettings();
        ASSERT_TRUE(app.editor.requestClose());
        EXPECT_EQ(app.folder.read("Kotori.ini"), file);
    }
}

TEST(Settings, CloseAsksAboutUnsavedEditsAndSwitchesIModeOff) {
    const std::u16string text = u"編集中の内容は、破棄されてしまいますが終了してもよろしいですか？";
    App app;
    app.s().modified = true;
    app.editor.setImode(true);
    app.prompts.question(u"終了確認", text, Buttons::YesNo, Answer::No);
    EXPECT_FALSE(app.editor.requestClose());
    EXPECT_FALSE(app.folder.exists("Kotori.ini"));
    EXPECT_TRUE(app.s().Check2.checked);

    app.prompts.question(u"終了確認", text, Buttons::YesNo, Answer::Yes);
    EXPECT_TRUE(app.editor.requestClose());
    EXPECT_FALSE(app.s().Check2.checked);
    EXPECT_NE(app.folder.read("Kotori.ini").find("imde=1\r\n"), std::string::npos);
}

TEST(Settings, ResetDeletesWhatTheAnswersAllow) {
    const std::u16string first = u"設定を初期化し、再設定を行いますか？";
    const std::u16string full = u"完全初期状態からの再設定を行いますか？\r\n※調子がおかしいときは、YESにしてください。";
    const char* files[] = {"Kotori.ini", "Becky.mil", "Becky2.mil", "addr.adr", "Keitai.pre", "OutPutLog.mbx"};
    // Yes to both reset questions, then the given answer to the two about the user's data.
    auto expectFullReset = [&](App& app, Answer deleteData) {
        app.s().OutAdr[0].caption = u"me@docomo.ne.jp";
        app.prompts.question(u"再設定", first, Buttons::YesNo, Answer::Yes);
        app.prompts.question(u"再設定", full, Buttons::YesNo, Answer::Yes);
        app.prompts.question(u"アドレス帳＋NEW機種情報", u"アドレス帳関係のデータも削除しますか？", Buttons::YesNo,
                             deleteData);
        app.prompts.question(u"i-modeメール出力ログファイル", u"現在まで出力したログデータも削除しますか？",
                             Buttons::YesNo, deleteData);
    };
    {
        App app;
        for (const char* f : files)
            app.folder.write(f, "x\r\n");
        app.prompts.question(u"再設定", first, Buttons::YesNo, Answer::No);
        app.editor.resetSettings();
        app.prompts.verify();
        EXPECT_TRUE(app.folder.exists("Kotori.ini")); // declined: nothing deleted
        expectFullReset(app, Answer::No);
        app.editor.resetSettings();
        app.prompts.verify();
        for (const char* f : files)
            EXPECT_EQ(app.folder.exists(f), f != files[0] && f != files[1]) << f;
        EXPECT_EQ(app.s().OutAdr[0].caption, u"なし");
        EXPECT_EQ(app.editor.BeckyPath, u"NO Becky"); // the discovery ran and found nothing
    }
    {
        App app;
        test::TestRegistry reg(app.folder.winePrefix());
        registerBecky1(app, reg);
        for (const char* f : {"addr.adr", "Keitai.pre", "OutPutLog.mbx"})
            app.folder.write(f, "x\r\n");
        expectFullReset(app, Answer::Yes);
        // The own address is asked for again.
        app.prompts.question(u"***@docomo.ne.jpがいいよ。",
                             u"使用するi-mode用のメールアドレスは、[taro@example.ne.jp]でよろしいですか？",
                             Buttons::YesNo, Answer::Yes);
        app.editor.resetSettings();
        app.prompts.verify();
        for (const char* f : {"addr.adr", "Keitai.pre", "OutPutLog.mbx"})
            EXPECT_FALSE(app.folder.exists(f)) << f;
        EXPECT_EQ(app.s().OutAdr[0].caption, u"taro@example.ne.jp");
        EXPECT_TRUE(app.folder.exists("Becky.mil"));
        EXPECT_EQ(app.s().Combo2.listIndex, -1); // the user picks an account
    }
}
