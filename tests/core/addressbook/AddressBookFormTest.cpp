// The address book window's commands on real files: the MY kind, the Becky kind with import
// and export, and file-read mode.
#include "core/addressbook/AddressBookForm.h"

#include "core/app/AppFixture.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "support/UnreadableFile.h"

#include <gtest/gtest.h>

namespace {

using core::Answer;
using core::Buttons;

struct FormFixture : ::testing::Test, apptest::App {
    core::EditorAddressHost host{editor};
    core::AddressBookForm form{host};

    FormFixture() {
        editor.loadModelList();
        editor.BeckyPath = folder.core() + u"\\becky\\";
    }
    static std::string sjis(std::u16string_view text) { return platform::encodeCp932(text); }
    void writeBook(std::u16string_view text) { folder.write("addr.adr", sjis(text)); }
    std::string book() const { return folder.read("addr.adr"); }
    void group(const std::string& name, std::u16string_view text) {
        folder.write("becky/AddrBook/" + name, sjis(text));
    }
    std::vector<std::u16string> kinds() const {
        std::vector<std::u16string> names;
        for (const core::ListEntry& item : form.Combo1.items)
            names.push_back(item.text);
        return names;
    }
    void expectSaveQuestion(Answer answer) {
        prompts.question(u"保存？", u"アドレス情報が変更されたようです。保存しますか？", Buttons::YesNo, answer);
    }
    void expectBookQuestion(Answer answer) {
        prompts.question(u"アドレス帳保存", u"アドレス帳に変更があります。保存しますか？", Buttons::YesNo, answer);
    }
};

const std::u16string MyBook = u"a@docomo.ne.jp\tアリス\tN501i\tありちゃん\t.\t.\r\n"
                              u"b@docomo.ne.jp\tボブ\tD501i\r\n"
                              u"c@example.com\r\n";

TEST_F(FormFixture, MyKindShowsRowsWithTheirModelsAndPutsAddressesIntoTheMail) {
    writeBook(MyBook);
    folder.write("Keitai.pre", sjis(u"SO502i#0907\r\n"));
    editor.loadModelList();
    form.openMyBook();
    ASSERT_EQ(form.Combo2.items.size(), 7u);
    EXPECT_EQ(form.Combo2.items.front().text + form.Combo2.items[5].text + form.Combo2.items.back().text,
              u"不明SO502iその他");
    EXPECT_EQ(form.beckyAddrBookFolder, editor.BeckyPath + u"AddrBook");
    EXPECT_EQ(form.row, 0);
    EXPECT_EQ(form.Combo2.listIndex, 2); // N501i
    EXPECT_EQ(form.Text1[core::NicknameField].text + form.Text1[core::PgpField].text, u"ありちゃん.");
    EXPECT_TRUE(form.detailsLocked && !form.saveArmed && !form.detailsEdited);
    EXPECT_TRUE(!form.Combo1.enabled && form.Command3[3].caption == u"エクスポート"); // one kind, exported

    // A model that is not in the box shows as "不明"; missing fields show empty. Choosing another
    // row leaves an unsaved change mode, so the bottom button goes back to filling in the mail.
    form.change();
    form.rowSelected(2);
    EXPECT_FALSE(form.saveArmed);
    EXPECT_EQ(form.Combo2.listIndex, 0);
    EXPECT_EQ(form.Text1[core::NicknameField].text, u"");

    editor.s.Combo1.text = u"x@docomo.ne.jp";
    form.bottomButton();
    EXPECT_EQ(editor.s.Combo1.text, u"x@docomo.ne.jp,c@example.com");
}

TEST_F(FormFixture, RenameThenSaveStoresTheNewName) {
    writeBook(MyBook);
    form.openMyBook();
    prompts.input(u"名前を変更しますか？", u"登録名変更？", u"アリス", u"ありす");
    form.rename();
    EXPECT_TRUE(form.bookModified);
    EXPECT_EQ(form.Text1[core::NameField].text, u"アリス"); // until the row is shown again

    form.change();
    EXPECT_TRUE(form.saveArmed && !form.detailsLocked);
    EXPECT_EQ(form.Command1.caption, u"保存");
    prompts.message(u"アドレス帳更新", u"保存しました。");
    form.bottomButton();
    prompts.verify();
    EXPECT_EQ(book(), sjis(u"a@docomo.ne.jp\tありす\tN501i\tありちゃん\t.\t.\r\n"
                           u"b@docomo.ne.jp\tボブ\tD501i\r\n"
                           u"c@example.com\r\n"));
    EXPECT_FALSE(form.bookModified || form.saveArmed);
    EXPECT_TRUE(form.detailsLocked);
    EXPECT_EQ(form.Command1.caption, u"ﾒｰﾙへ入力");
    EXPECT_EQ(editor.s.Combo1.items.front().text, u"ありす<a@docomo.ne.jp>");
}

TEST_F(FormFixture, OtherModelWithDefaultsAndEmptyDetails) {
    writeBook(MyBook);
    form.openMyBook();
    form.rowSelected(1);
    form.change();
    form.modelChosen(int(form.Combo2.items.size()) - 1); // "その他"
    form.fieldEdited(core::NicknameField, u"");
    prompts.input(u"機種名を入れてください", u"機種名", u"不明", u"不明");
    prompts.input(u"その携帯の表示できる桁数行数を続けて入力してください。\r\n※例　8桁9行の場合は、0809", u"機種名",
                  u"0809", u"1010");
    prompts.message(u"アドレス帳更新", u"保存しました。");
    form.bottomButton();
    prompts.verify();
    EXPECT_EQ(folder.read("Keitai.pre"), sjis(u"不明#1010\r\n"));
    EXPECT_EQ(form.Combo2.items.back().text, u"不明");
    EXPECT_EQ(form.Combo2.listIndex, int(form.Combo2.items.size()) - 1);
    for (std::size_t f : {core::NicknameField, core::HomePageField, core::PgpField})
        EXPECT_EQ(form.Text1[f].text, u".");
    EXPECT_EQ(form.entries[1].tail, u"不明\t.\t.\t.");
    EXPECT_NE(book().find(sjis(u"b@docomo.ne.jp\tボブ\t不明\t.\t.\t.\r\n")), std::string::npos);
}

TEST_F(FormFixture, EditedDetailsAskBeforeTheNextRowAndOnClosing) {
    writeBook(MyBook);
    form.openMyBook();
    form.change();
    form.fieldEdited(core::HomePageField, u"http://example.jp/");
    EXPECT_TRUE(form.detailsEdited && !form.addressEdited && !form.nameEdited);
    expectSaveQuestion(Answer::Yes);
    form.rowSelected(1);
    prompts.verify();
    EXPECT_EQ(form.entries[0].tail, u"N501i\tありちゃん\thttp://example.jp/\t.");
    EXPECT_EQ(form.Text1[core::NameField].text, u"ボブ");
    EXPECT_EQ(book(), sjis(MyBook)); // nothing written yet

    // An unsaved edit: the entry's question, then the book's.
    form.change();
    form.fieldEdited(core::AddressField, u"bob@docomo.ne.jp");
    expectSaveQuestion(Answer::No);
    expectBookQuestion(Answer::Yes);
    EXPECT_TRUE(form.close());
    prompts.verify();
    EXPECT_EQ(editor.s.lastGroupIndex, 0);
    EXPECT_EQ(book(), sjis(u"a@docomo.ne.jp\tアリス\tN501i\tありちゃん\thttp://example.jp/\t.\r\n"
                           u"b@docomo.ne.jp\tボブ\tD501i\r\n"
                           u"c@example.com\r\n"));
}

TEST_F(FormFixture, NewAndDeletedEntries) {
    writeBook(u"");
    form.openMyBook();
    EXPECT_EQ(form.row, -1);
    const std::u16string prompt = u"新規作成する名前、又は、mailアドレスを打ち込んでください。";
    prompts.input(prompt, u"登録名", u"@docomo.ne.jp", u"d@docomo.ne.jp");
    prompts.input(prompt, u"登録名", u"@docomo.ne.jp", u"名前だけ");
    form.newEntry();
    form.newEntry();
    ASSERT_EQ(form.entries.size(), 2u);
    EXPECT_EQ(form.entries[0].address + u"|" + form.entries[0].name, u"d@docomo.ne.jp|d@docomo.ne.jp");
    EXPECT_EQ(form.entries[1].address + u"|" + form.entries[1].name, u"|名前だけ");
    EXPECT_EQ(form.row, -1); // the selection does not move
    EXPECT_TRUE(form.bookModified);

    form.rowSelected(1);
    prompts.question(u"削除確認", u"名前だけを削除しますか？", Buttons::YesNo, Answer::Yes);
    form.deleteEntry();
    EXPECT_EQ(form.row, 0);
    prompts.question(u"削除確認", u"d@docomo.ne.jpを削除しますか？", Buttons::YesNo, Answer::Yes);
    form.deleteEntry();
    EXPECT_TRUE(form.entries.empty());
    EXPECT_EQ(form.row, -1);

    // After a deletion only the book's question comes.
    expectBookQuestion(Answer::Yes);
    EXPECT_TRUE(form.close());
    EXPECT_EQ(book(), "");
}

TEST_F(FormFixture, FailedSaveKeepsTheChangesAndTheWindow) {
    writeBook(MyBook);
    form.openMyBook();
    prompts.question(u"削除確認", u"アリスを削除しますか？", Buttons::YesNo, Answer::Yes);
    form.deleteEntry();
    platform::setWriteHookForTests([](int, const char*, std::size_t) -> long { return -1; });
    expectBookQuestion(Answer::Yes);
    prompts.message(std::u16string(core::AppTitle),
                    u"アドレス帳を保存できませんでした。変更はまだ保存されていません。\r\n" +
                        editor.programFile(core::AddressBookFile));
    EXPECT_FALSE(form.close());
    platform::setWriteHookForTests(nullptr);
    prompts.verify();
    EXPECT_TRUE(form.bookModified);
    EXPECT_EQ(form.entries.size(), 2u);
    EXPECT_EQ(book(), sjis(MyBook));
    EXPECT_EQ(editor.s.Combo1.items.size(), 0u); // the list still follows the file

    expectBookQuestion(Answer::No); // declining discards
    EXPECT_TRUE(form.close());
}

TEST_F(FormFixture, SaveKeepsWhatOthersAddedSinceTheBookWasRead) {
    writeBook(MyBook);
    form.openMyBook();
    // While the window is open, a sent mail registers its destination and a second editor
    // appends a contact of its own.
    ASSERT_TRUE(core::appendBareAddress(editor.programFile(core::AddressBookFile), u"new@docomo.ne.jp"));
    ASSERT_TRUE(core::appendAddressEntry(editor.programFile(core::AddressBookFile),
                                         {u"z@docomo.ne.jp", u"ゼット", u"P501i\t.\t.\t."}));
    prompts.input(u"名前を変更しますか？", u"登録名変更？", u"アリス", u"ありす");
    form.rename();
    prompts.message(u"アドレス帳更新", u"保存しました。");
    form.change();
    form.bottomButton();
    prompts.verify();
    const std::u16string saved = u"a@docomo.ne.jp\tありす\tN501i\tありちゃん\t.\t.\r\n"
                                 u"b@docomo.ne.jp\tボブ\tD501i\r\n"
                                 u"c@example.com\r\n"
                                 u"new@docomo.ne.jp\r\n"
                                 u"z@docomo.ne.jp\tゼット\tP501i\t.\t.\t.\r\n";
    EXPECT_EQ(book(), sjis(saved));
    // The window and the destination list show the file as written.
    ASSERT_EQ(form.entries.size(), 5u);
    EXPECT_EQ(form.entries[4].name, u"ゼット");
    ASSERT_EQ(editor.s.Combo1.items.size(), 5u);
    EXPECT_EQ(editor.s.Combo1.items[3].text, u"new@docomo.ne.jp");

    // A second save adds nothing twice; a line added again since is kept once more.
    ASSERT_TRUE(core::appendBareAddress(editor.programFile(core::AddressBookFile), u"new@docomo.ne.jp"));
    prompts.question(u"削除確認", u"ありすを削除しますか？", Buttons::YesNo, Answer::Yes);
    form.rowSelected(0);
    form.deleteEntry();
    expectBookQuestion(Answer::Yes);
    EXPECT_TRUE(form.close());
    EXPECT_EQ(book(), sjis(saved.substr(saved.find(u"b@")) + u"new@docomo.ne.jp\r\n"));
}

TEST_F(FormFixture, AnUnreadableBookIsNamedAndNeverWrittenOver) {
    writeBook(MyBook);
    const test::UnreadableFile unreadable(folder.path() / "addr.adr");
    const std::u16string text =
        editor.programFile(core::AddressBookFile) + u"\r\nを読み込めませんでした。このファイルには保存しません。";
    prompts.message(std::u16string(core::AppTitle), text);
    form.openMyBook();
    EXPECT_TRUE(form.entries.empty());
    prompts.input(u"新規作成する名前、又は、mailアドレスを打ち込んでください。", u"登録名", u"@docomo.ne.jp",
                  u"d@docomo.ne.jp");
    form.newEntry();
    expectBookQuestion(Answer::Yes);
    prompts.message(std::u16string(core::AppTitle), text);
    EXPECT_FALSE(form.close()); // the window keeps the unsaved entry
    prompts.verify();
    EXPECT_TRUE(unreadable.untouched());
    // A missing book is an empty one, as before.
    test::TempFolder other;
    core::Editor fresh{prompts, clock, other.core()};
    core::EditorAddressHost freshHost{fresh};
    core::AddressBookForm freshForm{freshHost};
    freshForm.openMyBook();
    EXPECT_TRUE(freshForm.entries.empty());
}

TEST_F(FormFixture, TabsAndLineBreaksInFieldsBecomeSpaces) {
    writeBook(MyBook);
    form.openMyBook();
    form.change();
    form.fieldEdited(core::NameField, u"Alice\r\nother@docomo.ne.jp");
    form.fieldEdited(core::NicknameField, u"a\tb\rc\nd");
    EXPECT_EQ(form.Text1[core::NameField].text, u"Alice other@docomo.ne.jp");
    EXPECT_EQ(form.Text1[core::NicknameField].text, u"a b c d");
    prompts.message(u"アドレス帳更新", u"保存しました。");
    form.bottomButton();
    prompts.input(u"名前を変更しますか？", u"登録名変更？", u"Alice other@docomo.ne.jp", u"x\ty");
    form.rename();
    prompts.input(u"新規作成する名前、又は、mailアドレスを打ち込んでください。", u"登録名", u"@docomo.ne.jp",
                  u"name\r\nother@docomo.ne.jp");
    form.newEntry();
    expectBookQuestion(Answer::Yes);
    EXPECT_TRUE(form.close());
    prompts.verify();
    EXPECT_EQ(book(), sjis(u"a@docomo.ne.jp\tx y\tN501i\ta b c d\t.\t.\r\n"
                           u"b@docomo.ne.jp\tボブ\tD501i\r\n"
                           u"c@example.com\r\n"
                           u"name other@docomo.ne.jp\r\n"));
    // The writer keeps each entry on its line whatever its fields hold.
    EXPECT_EQ(core::addressLine({u"p\tq@docomo.ne.jp", u"r\ns", u"P501i\r\n."}), u"p q@docomo.ne.jp\tr s\tP501i .");
}

TEST_F(FormFixture, ImodeHidesEntriesButSavingKeepsThem) {
    writeBook(u"x@example.com\tX\tP501i\t.\t.\t.\r\n"
              u"a@docomo.ne.jp\tA\tP501i\t.\t.\t.\r\n"
              u"y@example.com\tY\r\n"
              u"b@docomo.ne.jp\tB\tP501i\t.\t.\t.\r\n"
              u"z@example.com\tZ\tF501i\r\n");
    editor.s.Check2.checked = true;
    form.openMyBook();
    ASSERT_EQ(form.entries.size(), 2u);
    // Saved once on the way, the hidden entries are still written once each at the end.
    form.change();
    prompts.message(u"アドレス帳更新", u"保存しました。");
    form.bottomButton();
    prompts.question(u"削除確認", u"Aを削除しますか？", Buttons::YesNo, Answer::Yes);
    form.deleteEntry();
    expectBookQuestion(Answer::Yes);
    form.close();
    EXPECT_EQ(book(), sjis(u"x@example.com\tX\tP501i\t.\t.\t.\r\n"
                           u"y@example.com\r\n"
                           u"b@docomo.ne.jp\tB\tP501i\t.\t.\t.\r\n"
                           u"z@example.com\tZ\tF501i\r\n"));
}

TEST_F(FormFixture, BeckyGroupsUnderTheImodeFilter) {
    group("Family.adr", u"p@example.com\tPapa\t備考\tdocomoの人\r\n");
    group("Empty.adr", u"");
    group("Work.ADR", u"w@docomo.ne.jp\tWatanabe\t会社\t.\t.\t.\r\nq@example.com\tQ\r\n");
    group("notes.txt", u"x@docomo.ne.jp\r\n");
    editor.s.lastGroupIndex = 5;
    prompts.question(u"CHECK",
                     u"設定がi-mode用になっていませんが、i-mode用のアドレス帳として起動しますか？\r\n"
                     u"(i-mode設定欄にチェックが入ります。)",
                     Buttons::YesNo, Answer::Yes);
    form.openBeckyGroups();
    prompts.verify();
    EXPECT_TRUE(editor.s.Check2.checked);
    EXPECT_EQ(kinds(), (std::vector<std::u16string>{u"Family", u"Work"}));
    EXPECT_EQ(form.Combo1.listIndex, 0); // beyond the groups: group 0
    EXPECT_TRUE(form.entries.empty());   // the tag is only in a nickname
    EXPECT_FALSE(form.Command3[0].enabled || form.Command3[1].enabled || form.Command3[2].enabled);
    EXPECT_TRUE(form.Command3[3].enabled && !form.exportMode && form.Command3[3].caption == u"インポート");

    form.kindChosen(1);
    ASSERT_EQ(form.entries.size(), 1u); // i-mode: only the carrier's addresses
    EXPECT_EQ(form.Combo2.items.size(), 1u);
    EXPECT_EQ(form.Combo2.items[0].text, u"会社");
    form.close();
    EXPECT_EQ(editor.s.lastGroupIndex, 1);
}

TEST_F(FormFixture, ImportAppendsOneLineAndTheBareAddress) {
    writeBook(MyBook);
    group("Work.adr", u"w@docomo.ne.jp\tWatanabe\t会社\t\r\n");
    editor.s.Check2.visible = false;
    editor.s.Command6.enabled = false;
    form.openBeckyGroups();
    prompts.question(u"インポート", u"WatanabeをMYアドレス帳に登録しますか？", Buttons::YesNo, Answer::Yes);
    form.importOrExport();
    prompts.verify();
    EXPECT_EQ(book(), sjis(MyBook + u"w@docomo.ne.jp\tWatanabe\t会社\t\r\n"));
    ASSERT_EQ(editor.s.Combo1.items.size(), 1u);
    EXPECT_EQ(editor.s.Combo1.items[0].text, u"w@docomo.ne.jp");
    EXPECT_TRUE(editor.s.Command6.enabled);
}

TEST_F(FormFixture, ExportCopiesTheSavedBookAsAGroup) {
    writeBook(MyBook);
    group("i-mode.adr", u"old@docomo.ne.jp\r\n");
    form.openMyBook();
    prompts.question(u"削除確認", u"アリスを削除しますか？", Buttons::YesNo, Answer::Yes);
    form.deleteEntry(); // unsaved: not exported
    prompts.question(u"Beckyエクスポート", u"MYアドレス帳をベッキーのアドレス帳に追加しますか？", Buttons::YesNo,
                     Answer::Yes);
    prompts.input(u"Beckyのアドレス帳で使用するグループ名を指定してください。", u"グループ名指定", u"i-mode",
                  u"i-mode");
    prompts.question(u"上書き確認",
                     u"そのグループ名は、既に存在します。上書きしますか？\r\n"
                     u"※注意:上書きしてしまうと既存のデータは、消えてしまいます。",
                     Buttons::YesNo, Answer::Yes);
    prompts.message(std::u16string(core::AppTitle), u"追加完了しました。");
    form.importOrExport();
    prompts.verify();
    EXPECT_EQ(folder.read("becky/AddrBook/i-mode.adr"), sjis(MyBook));

    // A new group, and names that would leave the folder.
    prompts.question(u"Beckyエクスポート", u"MYアドレス帳をベッキーのアドレス帳に追加しますか？", Buttons::YesNo,
                     Answer::Yes);
    prompts.input(u"Beckyのアドレス帳で使用するグループ名を指定してください。", u"グループ名指定", u"i-mode",
                  u"..\\..\\x");
    prompts.message(u"グループ名指定", u"グループ名には、次の文字は使えません。\r\n\\ / : * ? \" < > |");
    form.exportBook();
    prompts.verify();
    EXPECT_FALSE(folder.exists("x.Adr"));
}

TEST_F(FormFixture, ExportWithoutABecky1AddressBookWritesNothing) {
    writeBook(MyBook);
    const std::u16string none = u"Becky! 1.26 のアドレス帳フォルダが見つからないため、エクスポートできません。";
    form.openMyBook(); // no AddrBook folder
    prompts.message(u"Beckyエクスポート", none + u"\r\n" + form.beckyAddrBookFolder);
    form.exportBook();
    prompts.verify();
    EXPECT_FALSE(folder.exists("becky/AddrBook"));
}

} // namespace
