#pragma once

#include "support/FakeView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"
#include "support/TestRegistry.h"
#include "core/app/Editor.h"

#include <filesystem>
#include <string>

namespace apptest {

using core::Answer;
using core::Buttons;

// An editor whose program folder is a fresh temporary folder, with scripted prompts and a fake view.
struct App {
    test::TempFolder folder;
    test::ScriptedPrompts prompts;
    core::SystemClock clock;
    core::Editor editor{prompts, clock, folder.core()};
    test::FakeView view{&editor};

    App() { editor.setView(&view); }
    // An installed copy, whose documents are in documentFolder.
    explicit App(std::u16string documentFolder) : editor{prompts, clock, folder.core(), std::move(documentFolder)} {
        editor.setView(&view);
    }
    core::MainState& s() { return editor.s; }

    // The "no Becky!" report and what it switches off.
    void expectNoBeckyMessage() {
        prompts.message(u"ことり便は、brcky v1.26対応です。",
                        u"このパソコンには、becky1.26がインストールされていない可能性がありますので\r\n"
                        u"ことり便のi-mode送信機能は、使えません。");
    }
};

// Registers a Becky! 1.26 whose data folder is "Becky!" in the app's folder, as Becky! writes
// it: "メイン" (folder User112, its number as binary), "sub" (User0, a DWORD) and "会社" (User5).
// Returns the data folder.
inline std::u16string registerBecky1(App& app, test::TestRegistry& reg) {
    const std::u16string home = app.folder.core() + u"\\Becky!\\";
    for (const char* user : {"User0", "User5", "User112"})
        std::filesystem::create_directories(app.folder.path() / "Becky!" / user);
    const std::u16string users = u"Software\\RIMArts\\Rebecca\\Users\\";
    reg.setString(u"Software\\RIMArts\\Rebecca\\Settings", u"HomeDir", home);
    reg.setString(users + u"0", u"Account", u"メイン");
    reg.setString(users + u"0", u"Address", u"taro@example.ne.jp");
    reg.setBinary(users + u"0", u"MailDirNo", std::string("\x70\0\0\0", 4));
    reg.setString(users + u"1", u"Account", u"sub");
    reg.setString(users + u"1", u"Address", u"taro@docomo.ne.jp");
    reg.setDword(users + u"1", u"MailDirNo", 0);
    reg.setString(users + u"2", u"Account", u"会社");
    reg.setString(users + u"2", u"Address", u"t.yamada@example.co.jp");
    reg.setBinary(users + u"2", u"MailDirNo", std::string("\x05\0\0\0", 4));
    return home;
}

} // namespace apptest
