#include "TextFixture.h"

#include "core/app/Strings.h"
#include "core/text/EmojiSwap.h"
#include "platform/Cp932.h"

#include <filesystem>
#include <random>

namespace {

using test::Ame;
using test::Hare;
using test::Kumori;
using test::one;

const std::u16string NoTable = u"置換定義ファイルがありましぇーん。";

std::u16string counted(int n) {
    return core::decimal(n) + u"個の単語を絵文字に変換しました。";
}

const std::u16string App(core::AppTitle);

class EmojiCheckTest : public EmojiTest {
protected:
    void fromCaret(core::Answer a) {
        prompts.question(u"確認事項", u"現在位置から絵文字チェックを行いますか？", core::Buttons::YesNo, a);
    }
};

TEST_F(EmojiTest, ReplaceAndRemoveRoundTheBackslashKeywords) {
    table({{Hare, u"hare"}});
    body(u"\\hare\\hare hare Hare");
    used() = one(Kumori);
    editor.emojiReplace(0);
    EXPECT_EQ(editor.s.Text1.text, one(Hare) + one(Hare) + u" hare Hare"); // exact, case-sensitive
    EXPECT_EQ(editor.s.Text1.selStart, static_cast<int>(editor.s.Text1.text.size()));
    EXPECT_TRUE(used().empty());
    EXPECT_EQ(view.bodyEdits, 2); // setBody, then the command's one edit

    editor.emojiReplace(1);
    EXPECT_EQ(editor.s.Text1.text, u"harehare hare Hare"); // the backslashes do not come back
    // The count follows the replaced body.
    EXPECT_EQ(editor.s.Label1.caption, u"9.0文字 (18)");

    // Only the selection is converted; the caret goes after it.
    body(u"\\hare[\\hare]\\hare", 6, 5);
    editor.emojiReplace(0);
    EXPECT_EQ(editor.s.Text1.text, u"\\hare[" + one(Hare) + u"]\\hare");
    EXPECT_EQ(editor.s.Text1.selStart, 7);
}

TEST_F(EmojiTest, AKeywordThatCompletesAnEmojiHasItMade) {
    body(u"1\u20E3");
    const std::u16string keycap = editor.s.Text1.text;
    table({{Hare, u"1"}});
    body(one(Hare) + u"\u20E3");
    ASSERT_EQ(editor.s.Text1.text, one(Hare) + u"\u20E3");
    editor.emojiReplace(1);
    EXPECT_EQ(editor.s.Text1.text, keycap);
    // What the replacement spared is looked at again in the next edit.
    editor.bodyEdited(1, 0, u"\U0001F603");
    EXPECT_EQ(editor.s.Text1.text, keycap + u"\uE6F0");
}

TEST(EmojiSwap, SaysWhetherWhatItPutsInHasAFormInTheCodePage) {
    using Table = std::vector<core::EmojiEntry>;
    const auto formed = [](const Table& table, bool toEmoji) {
        return core::EmojiSwapper(table).swap(u"\\snow", toEmoji).keepsForms;
    };
    const core::EmojiEntry sun{one(Hare), u"snow"};
    EXPECT_TRUE(formed(Table{sun}, true));
    EXPECT_TRUE(formed(Table{sun}, false));
    // A snowman and a face are not in it (the face takes a surrogate pair).
    const core::EmojiEntry snowman{u"\u2603", u"yuki"}, face{one(Hare), u"\U0001F600"};
    EXPECT_FALSE(formed(Table{sun, snowman}, true));
    EXPECT_TRUE(formed(Table{sun, snowman}, false));
    EXPECT_FALSE(formed(Table{face}, false));
}

TEST_F(EmojiTest, WithoutTheTableTheCommandsOnlySaySo) {
    body(u"\\hare", 2, 0);
    used() = one(Hare);
    prompts.message(App, NoTable);
    editor.emojiReplace(0);
    prompts.message(App, NoTable).message(App, counted(0));
    editor.emojiCheck();
    prompts.verify();
    EXPECT_EQ(editor.s.Text1.text, u"\\hare");
    EXPECT_EQ(used(), one(Hare));
}

TEST_F(EmojiTest, EveryReplaceSeesTheTableFileAsItIsNow) {
    table({{Hare, u"hare"}});
    body(u"\\hare");
    editor.emojiReplace(0);
    EXPECT_EQ(editor.s.Text1.text, one(Hare));

    // Same length, other emoji: a table kept by size or by line count would miss it.
    table({{Kumori, u"hare"}});
    body(u"\\hare");
    editor.emojiReplace(0);
    EXPECT_EQ(editor.s.Text1.text, one(Kumori));

    // Its lines may end in a lone CR or LF as well as in CR LF.
    folder.write("Emoji.code",
                 platform::encodeCp932(one(Hare) + u"\tsun\r" + one(Ame) + u"\train\n" + one(Kumori) + u"\tcloud"));
    body(u"\\sun\\rain\\cloud");
    editor.emojiReplace(0);
    EXPECT_EQ(editor.s.Text1.text, one(Hare) + one(Ame) + one(Kumori));

    std::filesystem::remove(folder.path() / "Emoji.code");
    prompts.message(App, NoTable);
    editor.emojiReplace(0);
    prompts.verify();
}

TEST_F(EmojiTest, EnterWithAutoReplaceReplacesOnRelease) {
    editor.s.Aouttikan.checked = true;
    body(u"\\ame", 4, 0);
    core::BodyKey enter{core::BodyKey::Enter};
    editor.bodyKeyPress(enter);
    editor.bodyKeyRelease(); // no table: nothing, and nothing said
    table({{Ame, u"ame"}});
    editor.bodyKeyPress(enter);
    editor.bodyEdited(4, 0, u"\r\n");
    editor.bodyKeyRelease();
    EXPECT_EQ(editor.s.Text1.text, one(Ame) + u"\r\n");
    EXPECT_FALSE(editor.ReplacePending);
}

TEST_F(EmojiCheckTest, CheckAsksOncePerOccurrenceAndCounts) {
    table({{Hare, u""}, {Hare, u"hare"}, {Ame, u"ame"}});
    body(u"hare ame hare", 0, 0);
    auto ask = [&](std::u16string_view found, char16_t emoji, core::Answer a) {
        prompts.question(u"絵文字発見！！", std::u16string(found) + u"を" + one(emoji) + u"に置換しますか？",
                         core::Buttons::YesNo, a);
    };
    fromCaret(core::Answer::No);
    ask(u"hare", Hare, core::Answer::No);
    ask(u"hare", Hare, core::Answer::Yes);
    ask(u"ame", Ame, core::Answer::Yes);
    prompts.message(App, counted(2));
    std::vector<std::pair<int, int>> selected; // what is selected as each question comes
    prompts.onPrompt = [&] { selected.emplace_back(editor.s.Text1.selStart, editor.s.Text1.selLength); };
    editor.emojiCheck();
    prompts.onPrompt = nullptr;
    prompts.verify();
    ASSERT_EQ(selected.size(), 5u);
    EXPECT_EQ(std::vector(selected.begin() + 1, selected.end() - 1),
              (std::vector<std::pair<int, int>>{{0, 4}, {9, 4}, {5, 3}}));
    EXPECT_EQ(editor.s.Text1.text, u"hare " + one(Ame) + u" " + one(Hare));
    EXPECT_EQ(used(), one(Hare) + one(Ame));

    // From the caret: the search starts at the character before it.
    body(u"ame ame", 5, 0);
    fromCaret(core::Answer::Yes);
    ask(u"ame", Ame, core::Answer::Yes);
    prompts.message(App, counted(1));
    editor.emojiCheck();
    prompts.verify();
    EXPECT_EQ(editor.s.Text1.text, u"ame " + one(Ame));
}

// The single scan must give what one pass per entry, in table order, gives.
std::u16string passByPass(std::u16string text, const std::vector<core::EmojiEntry>& table, bool toEmoji) {
    for (const core::EmojiEntry& e : table) {
        std::u16string search = toEmoji ? u"\\" + e.keyword : e.emoji;
        const std::u16string& with = toEmoji ? e.emoji : e.keyword;
        std::u16string out;
        std::size_t pos = 0;
        for (std::size_t at; (at = text.find(search, pos)) != std::u16string::npos; pos = at + search.size())
            out += text.substr(pos, at - pos) + with;
        text = out + text.substr(pos);
    }
    return text;
}

TEST(EmojiSwap, AgreesWithOnePassPerEntryOnRandomTables) {
    std::mt19937 random(12);
    const std::u16string letters = u"ab\\" + one(Hare) + one(Kumori) + u"あ";
    auto word = [&](std::size_t maxLength, std::size_t alphabet) {
        std::u16string w;
        for (std::size_t n = random() % (maxLength + 1); n > 0; --n)
            w += letters[random() % alphabet];
        return w;
    };
    auto agree = [](const std::u16string& text, const std::vector<core::EmojiEntry>& table) {
        core::EmojiSwapper swapper(table);
        for (bool toEmoji : {true, false}) {
            core::Swapped got = swapper.swap(text, toEmoji);
            std::u16string want = passByPass(text, table, toEmoji);
            ASSERT_EQ(got.text, want) << test::show(text) << (toEmoji ? " to emoji" : " to keywords");
            // Written over storage that holds other text, longer or shorter.
            for (std::size_t junk : {std::size_t{3}, text.size() + 40})
                ASSERT_EQ(swapper.swap(text, toEmoji, std::u16string(junk, u'Z')).text, want) << junk;
            ASSERT_EQ(got.byteDelta, static_cast<long long>(platform::sjisLength(want)) -
                                         static_cast<long long>(platform::sjisLength(text)));
        }
    };
    for (int round = 0; round < 3000; ++round) {
        std::vector<core::EmojiEntry> table;
        // Most tables are plain (the single scan); some hold backslashes or emoji in keywords.
        std::size_t alphabet = round % 4 == 0 ? letters.size() : 2;
        for (std::size_t n = random() % 5; n > 0; --n)
            table.push_back({one(letters[2 + random() % 4]), word(3, alphabet)});
        // Long texts too, whose gaps between keywords go a block at a time.
        agree(word(round % 3 == 0 ? 120 : 24, letters.size()), table);
    }
}

} // namespace
