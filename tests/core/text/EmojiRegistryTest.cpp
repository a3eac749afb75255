#include "TextFixture.h"

#include "core/app/Strings.h"
#include "core/text/EmojiRegistry.h"
#include "platform/Files.h"
#include "support/UnreadableFile.h"

namespace {

using core::Answer;
using core::Buttons;
using test::Ame;
using test::Hare;
using test::Kumori;
using test::one;

const std::u16string App(core::AppTitle);

class RegistryTest : public EmojiTest {
protected:
    core::EditorEmojiBody host{editor};
    core::EmojiRegistry r{prompts, host, folder.core() + u"\\Emoji.code"};

    void add(std::u16string_view emoji, std::u16string_view keyword) {
        r.characterEdited(emoji);
        r.keywordEdited(keyword);
        r.registerEntry();
    }
    test::ScriptedPrompts& overlaps(std::u16string_view keyword, char16_t emoji, Answer a) {
        return prompts.question(u"", u"キーワードが「" + row(keyword, emoji) + u"」と重なっています。よろしいですか？",
                                Buttons::YesNo, a);
    }
    std::u16string row(std::u16string_view keyword, char16_t emoji) {
        return std::u16string(keyword) + u"\t\t" + one(emoji);
    }
};

TEST_F(RegistryTest, OpeningCountsTheRowsAndSavingWritesTheFile) {
    std::vector<std::pair<char16_t, std::u16string>> rows;
    for (int i = 0; i < 12; ++i)
        rows.emplace_back(static_cast<char16_t>(Hare + i), u"w" + core::decimal(i));
    table(rows);
    r.open();
    EXPECT_EQ(r.f.caption, u"文字コード登録登録数：12");
    EXPECT_EQ(r.f.List1[1], row(u"w1", Kumori));
    add(one(Ame), u"ame");
    EXPECT_EQ(r.f.caption, u"文字コード登録登録数：12"); // until applied
    ASSERT_TRUE(r.apply());
    EXPECT_EQ(r.f.caption, u"文字コード登録登録数：13");
    EXPECT_FALSE(r.f.TableModified);
    std::string file = folder.read("Emoji.code");
    EXPECT_EQ(file.substr(file.size() - 8), std::string("\xF8\xA1\tame\r\n", 8));
    EXPECT_EQ(file.substr(0, 6), std::string("\xF8\x9F\tw0\r\n", 6));

    // Without a file: an empty list and the design title.
    std::filesystem::remove(folder.path() / "Emoji.code");
    r.open();
    EXPECT_TRUE(r.f.List1.empty());
    EXPECT_EQ(r.f.caption, u"文字コード登録");
}

TEST_F(RegistryTest, AnUnreadableTableIsNamedAndNeverWrittenOver) {
    table({{Hare, u"hare"}});
    const test::UnreadableFile unreadable(folder.path() / "Emoji.code");
    const std::u16string text =
        folder.core() + u"\\Emoji.code\r\nを読み込めませんでした。このファイルには保存しません。";
    prompts.message(App, text);
    r.open();
    EXPECT_TRUE(r.f.List1.empty());
    add(one(Ame), u"ame");
    prompts.message(App, text);
    EXPECT_FALSE(r.apply());
    prompts.verify();
    EXPECT_TRUE(r.f.TableModified);
    EXPECT_TRUE(unreadable.untouched());
}

TEST_F(RegistryTest, OverlapQuestionsAndRefusals) {
    r.open();
    add(one(Hare), u"harebare");
    overlaps(u"harebare", Hare, Answer::Yes);
    add(one(Kumori), u"hare");
    prompts.verify();
    // Inserted above the selected row (the new one), and selected.
    EXPECT_EQ(r.f.List1, (std::vector{row(u"hare", Kumori), row(u"harebare", Hare)}));
    EXPECT_EQ(r.f.listIndex, 0);

    r.f.listIndex = -1;
    add(one(Ame), u"harebarebare"); // the existing keywords lie inside it: no question
    EXPECT_EQ(r.f.List1.back(), row(u"harebarebare", Ame));

    overlaps(u"hare", Kumori, Answer::Yes).message(App, u"全く同じキーワードは、登録できません。");
    add(one(Ame), u"hare");
    overlaps(u"harebare", Hare, Answer::No).message(App, u"登録をキャンセルします。");
    r.f.listIndex = -1;
    add(one(Ame), u"bare");
    prompts.verify();
    EXPECT_EQ(r.f.listIndex, 1); // the overlapping row is shown
    EXPECT_EQ(r.f.Text2, u"harebare");
    EXPECT_EQ(r.f.List1.size(), 3u);

    prompts.message(App, u"登録する文字を入力してください。")
        .message(App, u"キーワードを入力してください。")
        .message(App, u"Shift_JISで保存できない文字は、登録できません。");
    add(u"", u"x");
    add(one(Ame), u"");
    add(u"😀", u"smile");
    prompts.verify();
    EXPECT_EQ(r.f.List1.size(), 3u);
}

TEST_F(RegistryTest, MoveDeleteSortAndFind) {
    r.open();
    prompts.message(App, u"移動する部分を選択してください。");
    r.move(0);
    prompts.verify();
    add(one(Hare), u"b");
    r.f.listIndex = -1;
    add(one(Kumori), u"C");
    r.f.listIndex = -1;
    add(one(Ame), u"a");
    r.f.TableModified = false;
    r.rowClicked(2);
    r.move(0);
    EXPECT_EQ(r.f.List1[1], row(u"a", Ame));
    EXPECT_EQ(r.f.listIndex, 1);
    EXPECT_TRUE(r.f.TableModified);
    r.rowClicked(0);
    r.move(0); // at the top: nothing
    EXPECT_EQ(r.f.List1[0], row(u"b", Hare));

    r.f.List1.insert(r.f.List1.begin(), row(u"B", Hare)); // as the file may hold it
    r.sort();                                             // without case; a tie goes by the exact text
    EXPECT_EQ(r.f.List1, (std::vector{row(u"a", Ame), row(u"B", Hare), row(u"b", Hare), row(u"C", Kumori)}));
    r.f.List1.erase(r.f.List1.begin() + 1);

    r.characterEdited(one(Kumori));
    r.findByCharacter();
    EXPECT_EQ(r.f.listIndex, 2);
    r.keywordEdited(u"b");
    r.findByKeyword();
    EXPECT_EQ(r.f.listIndex, 1);
    prompts.message(App, u"zは、登録されていないようです。");
    r.keywordEdited(u"z");
    r.findByKeyword();
    prompts.verify();

    r.deleteRow();
    EXPECT_EQ(r.f.List1.size(), 2u);
    EXPECT_EQ(r.f.listIndex, -1);
}

TEST_F(RegistryTest, PutIntoBodyAppendsAtTheEndAndRemembersTheEmoji) {
    table({{Hare, u"hare"}});
    r.open();
    body(u"abc", 1, 0);
    r.putIntoBody(); // no row selected: nothing
    r.rowClicked(0);
    r.putIntoBody();
    EXPECT_EQ(editor.s.Text1.text, u"abc" + one(Hare));
    EXPECT_EQ(editor.s.Text1.selStart, 1);
    EXPECT_EQ(used(), one(Hare));
    EXPECT_EQ(editor.s.Label1.caption, u"2.5文字 (4)");
}

TEST_F(RegistryTest, ClosingAsksOnlyAfterChanges) {
    r.open();
    EXPECT_TRUE(r.requestClose());
    std::vector<std::pair<char16_t, std::u16string>> rows;
    for (int i = 0; i < 25; ++i)
        rows.emplace_back(static_cast<char16_t>(Hare + i), u"w" + core::decimal(i) + u"_");
    table(rows);
    r.open();
    r.rowClicked(0);
    r.deleteRow();
    add(one(Hare), u"w0_");
    prompts.question(u"保存確認", u"変更があります。文字コードを保存して終了しますか？", Buttons::YesNo, Answer::Yes)
        .message(App, u"ことり便のメニューに表示されるのは、上から20個までです。");
    EXPECT_TRUE(r.requestClose());
    prompts.verify();
    auto lines = platform::readLines(folder.core() + u"\\Emoji.code");
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 25u);
    EXPECT_EQ(lines->back(), one(Hare) + u"\tw0_");

    // Cancel forgets the changes: nothing asked.
    r.deleteRow();
    r.cancel();
    EXPECT_TRUE(r.requestClose()); // a save that fails: see the write-fault tests
}

} // namespace
