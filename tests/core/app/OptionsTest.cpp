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
}

TEST(Options, StoredNumbersNamingNoEntryGiveNoAddress) {
    App app;
    auto& s = app.s();
    threeAccounts(s); // stored numbers naming no entry give no address rather than some other entry's
    app.folder.write("Kotori.ini", "Acnt=x\r\nMyad=9\r\n");
    app.editor.loadSettings();
    EXPECT_EQ(s.accountIndex, -1);
    EXPECT_EQ(s.accountOwnAddress(), u"");
    EXPECT_EQ(s.senderAddress(), u"");
}
