#pragma once

#include "support/FakeView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"
#include "core/app/Editor.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

namespace test {

class FixedClock : public core::Clock {
public:
    core::DateTime now() const override { return {2026, 12, 6, 9, 5, 3}; }
};

// Scripted prompts that can also change the world when a question is asked (a file Becky!
// held becomes free, a folder comes back), keyed by the start of the question's text.
class ActingPrompts : public ScriptedPrompts {
public:
    using ScriptedPrompts::question;
    std::map<std::u16string, std::function<void()>> onQuestion;
    core::Answer question(std::u16string_view title, std::u16string_view text, core::Buttons buttons,
                          core::Icon icon) override {
        core::Answer a = ScriptedPrompts::question(title, text, buttons, icon);
        for (auto& [start, act] : onQuestion)
            if (text.substr(0, start.size()) == start)
                act();
        return a;
    }
};

inline const std::u16string App(core::AppTitle);

// The header lines after the title, the same in every record.
inline const std::string FixedLines = "X-Priority:3\r\nX-imodeMailEditer:Kotoribin Plus Ver.0.5.3\r\n"
                                      "Content-Type: text/plain; charset=shift_jis\r\n"
                                      "Content-Transfer-Encoding: 8bit\r\nStatus:RW\r\n";

// The record of the fixture's mail with the given body, as text and as the bytes a write adds.
inline std::u16string recordOf(std::u16string_view body) {
    return u"From:me@docomo.ne.jp\r\nTo:x@docomo.ne.jp\r\nSubject:abc\r\n" + platform::decodeCp932(FixedLines) +
           u"\r\n" + std::u16string(body) + u"\r\n.";
}

inline std::string onDisk(std::u16string_view body) {
    return platform::encodeCp932(recordOf(body)) + "\r\n";
}

// An editor on a temporary program folder with a Becky! 1.26 account "main" (folder User1)
// and a mail ready to send.
class MailboxTest : public ::testing::Test {
protected:
    TempFolder tmp;
    ActingPrompts prompts;
    FixedClock clock;
    core::Editor editor{prompts, clock, tmp.core()};
    FakeView view{&editor};

    void SetUp() override {
        editor.setView(&view);
        editor.BeckyPath = tmp.core() + u"\\Becky!\\";
        std::filesystem::create_directories(tmp.path() / "Becky!/User1/OutBox");
        editor.s.Combo2.items = {{u"main", 1}};
        editor.s.Combo2.listIndex = 0;
        editor.s.accountIndex = 0;
        editor.s.OutAdr.resize(2);
        editor.s.OutAdr[0].caption = u"me@docomo.ne.jp";
        editor.s.OutAdr[1].caption = u"main@example.jp";
        editor.s.senderIndex = 0;
        editor.s.Combo1.text = u"x@docomo.ne.jp";
        editor.s.Text2.text = u"abc";
        editor.s.Text1.text = u"a\r\nb";
    }
    // The prompts of a send the user confirms, and of what follows it.
    void expectConfirmed(std::u16string_view body = u"a\r\nb") {
        std::u16string text = u"下記の内容でよろしいですか？\r\n" + std::u16string(41, u'-') + u"\r\n" + recordOf(body);
        prompts.question(u"送信OK?", text, core::Buttons::YesNo, core::Answer::Yes)
            .message(App, u"送信します。ＯＫを押した後に、BECKY側で送信手順を行ってください。");
    }
    void expectDiscard(core::Answer a) {
        prompts.question(u"削除？", u"送信しました。編集内容を破棄しますか？", core::Buttons::YesNo, a);
    }
    void expectRegister(core::Answer a) {
        prompts.question(u"ｱﾄﾞﾚｽ登録", u"このｱﾄﾞﾚｽを登録しますか？", core::Buttons::YesNo, a);
    }
    std::string outbox() const { return tmp.read("Becky!/User1/OutBox.mbx"); }
    std::string log() const { return tmp.read("OutPutLog.mbx"); }
};

inline std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace test

// What every mailbox test speaks of.
using core::Answer;
using core::Buttons;
using test::App;
using test::FixedLines;
using test::onDisk;
using test::recordOf;
