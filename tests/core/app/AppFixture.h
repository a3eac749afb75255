#pragma once

#include "support/FakeView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"
#include "core/app/Editor.h"

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
    core::MainState& s() { return editor.s; }

    // The "no Becky!" report and what it switches off.
    void expectNoBeckyMessage() {
        prompts.message(u"ことり便は、brcky v1.26対応です。",
                        u"このパソコンには、becky1.26がインストールされていない可能性がありますので\r\n"
                        u"ことり便のi-mode送信機能は、使えません。");
    }
};

} // namespace apptest
