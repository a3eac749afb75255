// Sending under odd input: accounts that do not say where to write, values holding line breaks.
#include "MailboxFixture.h"

#include <algorithm>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::u16string NoAccount = u"送信するアカウントが選ばれていません。アカウントを選ぶか、再設定を行ってください。";

class SendSafety : public test::MailboxTest {
protected:
    void SetUp() override {
        MailboxTest::SetUp();
        editor.s.IOutNO.checked = true; // no confirmation: each test scripts only what it is about
    }
    // Every file below the program folder, as relative paths.
    std::vector<std::string> files() const {
        std::vector<std::string> out;
        for (const auto& entry : fs::recursive_directory_iterator(tmp.path()))
            if (entry.is_regular_file() && !entry.path().string().starts_with(tmp.winePrefix().string()))
                out.push_back(entry.path().lexically_relative(tmp.path()).generic_string());
        std::sort(out.begin(), out.end());
        return out;
    }
};

} // namespace

TEST_F(SendSafety, Becky126AccountsNumbered112And200AreMailFolders) {
    // "Outbox" in the data folder's path: a Becky! 2 outbox index would be looked for there.
    editor.BeckyPath = tmp.core() + u"\\Outbox\\";
    tmp.write("Outbox/Folder.idx", "not Becky! 2's");
    editor.s.Combo1.items = {{u"x@docomo.ne.jp", 0}};
    for (int number : {112, 200}) {
        fs::create_directories(tmp.path() / ("Outbox/User" + std::to_string(number)));
        editor.s.Combo2.items = {{u"main", number}};
        expectDiscard(Answer::No);
        editor.send();
        prompts.verify();
        EXPECT_EQ(tmp.read("Outbox/User" + std::to_string(number) + "/OutBox.mbx"), onDisk(u"a\r\nb"));
    }
    EXPECT_FALSE(view.quitCalled);
    EXPECT_EQ(files(), (std::vector<std::string>{"OutPutLog.mbx", "Outbox/Folder.idx", "Outbox/User112/OutBox.mbx",
                                                 "Outbox/User200/OutBox.mbx"}));
}

TEST_F(SendSafety, NoAccountSelectedWritesNothing) {
    fs::create_directories(tmp.path() / "Becky!/User0");
    editor.s.Combo2.listIndex = -1; // after the reset command, or a stored account that is gone
    editor.s.signatureOn = true;
    editor.SignatureText = u"sig";
    prompts.message(App, NoAccount);
    editor.send();
    prompts.verify();
    editor.s.Combo2.items.clear(); // none listed at all
    editor.s.Combo2.listIndex = 0;
    prompts.message(App, NoAccount).message(App, NoAccount);
    editor.send();
    editor.saveDraft();
    prompts.verify();
    EXPECT_TRUE(files().empty());
    EXPECT_EQ(editor.s.Text1.text, u"a\r\nb");
    EXPECT_FALSE(editor.s.sendBusy || editor.s.draftMode);
}

TEST_F(SendSafety, SenderNamingNoEntryFallsBackToTheIModeAddress) {
    editor.s.senderIndex = 9;
    editor.s.Combo1.items = {{u"x@docomo.ne.jp", 0}};
    expectDiscard(Answer::No);
    editor.send();
    EXPECT_EQ(outbox(), onDisk(u"a\r\nb"));
    EXPECT_EQ(editor.s.senderIndex, 0);
    EXPECT_TRUE(editor.s.OutAdr[0].checked);
}

TEST_F(SendSafety, PastedLineBreaksNeverReachTheHeader) {
    editor.destinationTextChanged(u"x@docomo.ne.jp\r\n");
    editor.titleChanged(u"hi\r\nBcc:x\r.\n");
    editor.s.OutAdr[0].caption = u"me@docomo.ne.jp\r\nX-Evil:1"; // as a registry value could give it
    EXPECT_EQ(editor.s.Combo1.text, u"x@docomo.ne.jp ");
    EXPECT_EQ(editor.s.Text2.text, u"hi Bcc:x . ");
    expectDiscard(Answer::No);
    expectRegister(Answer::No);
    editor.send();
    const std::string header =
        "From:me@docomo.ne.jp X-Evil:1\r\nTo:x@docomo.ne.jp \r\nSubject:hi Bcc:x . \r\n" + FixedLines;
    EXPECT_EQ(outbox(), header + "\r\na\r\nb\r\n.\r\n");
    EXPECT_EQ(log(), header + "X-Date:2026/12/06 9:05:03\r\nX-ViewMode:YOKO\r\n\r\na\r\nb\r\n.\r\n");
}
