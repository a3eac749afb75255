#include "AppFixture.h"

#include <gtest/gtest.h>

using namespace apptest;

namespace {

// Three accounts with their own addresses, as a Becky! 1.26 discovery leaves them.
void threeAccounts(core::MainState& s) {
    s.Combo2.items = {{u"a", 1}, {u"b", 2}, {u"c", 3}};
    s.OutAdr.resize(4);
    s.OutAdr[0].caption = u"me@docomo.ne.jp";
    for (int i = 1; i < 4; ++i)
        s.OutAdr[static_cast<std::size_t>(i)].caption = u"addr" + std::u16string(1, char16_t(u'0' + i));
    s.OutAdr[0].checked = true;
}

std::u16string changeQuestion(std::u16string_view from, std::u16string_view to) {
    return u"使用する自分のi-mode用アドレス(" + std::u16string(from) + u")を\r\n" + std::u16string(to) +
           u"に変更しますか？";
}

} // namespace

TEST(Options, AtSignOffersTheCarrierDomain) {
    App app;
    auto& box = app.s().Combo1;
    app.editor.destinationTextChanged(u"taro@");
    EXPECT_EQ(box.text, u"taro@docomo.ne.jp");
    EXPECT_EQ(std::pair(box.selStart, box.selLength), std::pair(5, 12));
    app.editor.destinationTextChanged(u"taro@e"); // typed over the selection
    EXPECT_EQ(box.text, u"taro@e");
    app.editor.destinationTextChanged(u"@");
    EXPECT_EQ(box.text, u"@docomo.ne.jp");
    EXPECT_EQ(box.selStart, 1);
}

TEST(Options, PickingAnAccountFollowsTheChangeMode) {
    App app;
    auto& s = app.s();
    threeAccounts(s);
    s.window.visible = true;

    app.editor.accountPicked(2); // mode 0: the own address stays
    EXPECT_EQ(s.accountIndex, 2);
    EXPECT_EQ(s.senderIndex, 0);

    app.editor.changeModeChosen(1);
    EXPECT_TRUE(s.OutAdrChg[1].checked);
    EXPECT_EQ(s.accountChangeMode, 1);
    app.editor.accountPicked(2); // mode 1: switches without asking
    EXPECT_EQ(s.senderIndex, 3);
    EXPECT_TRUE(s.OutAdr[3].checked && !s.OutAdr[0].checked);

    app.editor.changeModeChosen(2);
    app.editor.changeModeChosen(2); // choosing the checked entry again changes nothing
    EXPECT_TRUE(s.OutAdrChg[2].checked && !s.OutAdrChg[1].checked);
    app.editor.accountPicked(2); // already the own address: nothing asked
    app.prompts.question(u"変更", changeQuestion(u"addr3", u"addr1"), Buttons::YesNo, Answer::No);
    app.editor.accountPicked(0);
    app.prompts.verify();
    EXPECT_EQ(s.senderIndex, 3);
    app.prompts.question(u"変更", changeQuestion(u"addr3", u"me@docomo.ne.jp"), Buttons::YesNo, Answer::Yes);
    app.editor.ownAddressChosen(0);
    app.prompts.verify();
    EXPECT_EQ(s.senderIndex, 0);
    EXPECT_TRUE(s.OutAdr[0].checked && !s.OutAdr[3].checked);
    app.editor.ownAddressChosen(0); // the checked entry: nothing asked

    app.editor.sendOptionChosen(s.OutBcc);
    EXPECT_TRUE(s.OutBcc.checked);
    app.editor.sendOptionChosen(s.OutBcc);
    EXPECT_FALSE(s.OutBcc.checked);
}

TEST(Options, StartupRestoresTheAccountButNotTheAddress) {
    App app;
    const std::string home = app.folder.path().string() + "\\";
    std::filesystem::create_directories(app.folder.path() / "User1");
    app.folder.write("Becky.mil", home + "\r\nme@docomo.ne.jp\r\na,1\r\naddr1\r\nb,2\r\naddr2\r\n");
    app.folder.write("Kotori.ini", "Acnt=1\r\nAcOp=1\r\nMyad=0\r\n");
    app.editor.startup(u"");
    app.prompts.verify();
    auto& s = app.s();
    EXPECT_EQ(s.Combo2.listIndex, 1);
    EXPECT_EQ(s.senderIndex, 0);
    EXPECT_TRUE(s.OutAdr[0].checked && !s.OutAdr[2].checked && s.OutAdrChg[1].checked);

    App gone; // stored numbers naming entries that are gone select nothing, but a mail needs a sender
    std::filesystem::create_directories(gone.folder.path() / "User1");
    gone.folder.write("Becky.mil", gone.folder.path().string() + "\\\r\nme\r\na,1\r\naddr1\r\n");
    gone.folder.write("Kotori.ini", "Acnt=4\r\nAcOp=7\r\nMyad=9\r\n");
    gone.editor.startup(u"");
    auto& g = gone.s();
    EXPECT_EQ(g.Combo2.listIndex, -1);
    EXPECT_EQ(g.senderIndex, 0);
    EXPECT_TRUE(g.OutAdr[0].checked && !g.OutAdr[1].checked);
    for (const auto& entry : g.OutAdrChg)
        EXPECT_FALSE(entry.checked);
}

// Needs the phone-model selection of the address book.
TEST(Options, PickedDestinationSelectsItsModel) {
    App app;
    auto& s = app.s();
    s.Combo3.items = {{u"P501i", 809}, {u"N502i", 1010}, {u"F503i", 1012}};
    s.Combo1.items = {{u"a@docomo.ne.jp", 2}, {u"b@docomo.ne.jp", 0}};
    app.editor.destinationItemPicked(0); // no model chosen yet: entry 0
    EXPECT_EQ(s.Combo3.listIndex, 0);
    EXPECT_EQ(s.Combo1.text, u"a@docomo.ne.jp");
    app.editor.destinationItemPicked(0);
    EXPECT_EQ(s.Combo3.listIndex, 2);
}

TEST(Options, AnswersAboutTheChosenAccountAndAddresses) {
    App app;
    auto& s = app.s();
    threeAccounts(s);
    s.Combo2.text = u"typed";
    EXPECT_EQ(s.selectedAccountNo(), std::nullopt); // nothing selected yet: no account to write to
    EXPECT_EQ(s.selectedAccountName(), u"typed");
    app.editor.accountPicked(1);
    EXPECT_EQ(s.selectedAccountNo(), 2);
    EXPECT_EQ(s.selectedAccountName(), u"b");
    EXPECT_EQ(s.accountOwnAddress(), u"addr2");
    EXPECT_EQ(s.senderAddress(), u"me@docomo.ne.jp");

    // Stored numbers naming no entry give no address rather than some other entry's.
    app.folder.write("Kotori.ini", "Acnt=x\r\nMyad=9\r\n");
    app.editor.loadSettings();
    EXPECT_EQ(s.accountIndex, -1);
    EXPECT_EQ(s.accountOwnAddress(), u"");
    EXPECT_EQ(s.senderAddress(), u"");
}
