#include "TextFixture.h"

#include "core/mailbox/Signature.h"

using core::Answer;
using core::Buttons;

namespace {

const std::u16string Refused = u"10文字以下には設定できません。";
const std::u16string Ask = u"制限する文字数を入力してください。";

} // namespace

TEST_F(TextTest, LimitQuestionAcceptsElevenAndUp) {
    struct Case {
        std::u16string answer;
        int limit;
    } cases[] = {{u"10", 0}, {u"11", 11}, {u"12.5", 0}, {u"32768", 0}};
    for (const Case& c : cases) {
        prompts.input(Ask, u"制限文字数", u"256", c.answer);
        if (c.limit == 0)
            prompts.message(std::u16string(core::AppTitle), Refused);
        editor.setOptionBox(6, true);
        prompts.verify();
        EXPECT_EQ(editor.CharLimit, c.limit) << test::show(c.answer);
        EXPECT_EQ(editor.s.Check1[6].checked, c.limit != 0) << test::show(c.answer);
        EXPECT_EQ(editor.s.Label3[0].caption, c.limit ? u"・制限：文字数 " : u"・制限：") << test::show(c.answer);
        editor.setOptionBox(6, false);
        EXPECT_EQ(editor.CharLimit, c.limit); // unchecking keeps the limit
    }

    // A preset limit is taken without asking, once.
    editor.s.presetLimit = 300;
    editor.setOptionBox(6, true);
    EXPECT_EQ(editor.CharLimit, 300);
    EXPECT_EQ(editor.s.presetLimit, 0);
    editor.setOptionBox(6, true); // already checked: no click, no question
}

TEST_F(TextTest, StatusLineAndImodeSetting) {
    auto enabledControls = [&] {
        const auto& w = editor.s;
        return w.Command3.enabled + w.Command7.enabled + w.Command4[0].enabled + w.Command4[1].enabled +
               w.MnuWindow.enabled + w.imenu.enabled + w.Command5.enabled;
    };
    for (int i : {8, 0, 4})
        editor.setOptionBox(i, true);
    EXPECT_EQ(editor.s.Label3[0].caption, u"・制限：タブ タグ AUTO ");
    for (int i : {8, 0, 4})
        editor.setOptionBox(i, false);
    EXPECT_EQ(editor.s.Label3[0].caption, u"・制限：");

    // Switched on: limit 250 without a question, the i-mode controls come alive.
    editor.s.Frame3.visible = true;
    editor.setImode(true);
    EXPECT_EQ(editor.CharLimit, 250);
    EXPECT_EQ(editor.SavedLimitBoxes, u"00");
    EXPECT_TRUE(editor.s.Check1[6].checked && editor.s.Check1[7].checked);
    EXPECT_EQ(editor.s.Label3[0].caption, u"・制限：文字数 種別 i-mode");
    EXPECT_TRUE(editor.s.Combo2.visible && editor.s.Aouttikan.checked);
    EXPECT_EQ(enabledControls(), 7);

    // Switched off: the boxes go back, the controls die, the preview pane closes.
    editor.setImode(false);
    EXPECT_FALSE(editor.s.Check1[6].checked || editor.s.Check1[7].checked);
    EXPECT_EQ(editor.s.Label3[0].caption, u"・制限：");
    EXPECT_FALSE(editor.s.Combo2.visible || editor.s.Aouttikan.checked || editor.s.Frame3.visible);
    EXPECT_EQ(enabledControls(), 0);
}

TEST_F(TextTest, PlainLimitOnlyWarns) {
    limitTo(250);
    editor.setBody(test::repeat(u"漢", 249));
    EXPECT_FALSE(editor.s.Label5.visible);
    type(u"字");
    EXPECT_TRUE(editor.s.Label5.visible);
    EXPECT_EQ(editor.s.Label5.caption, u"250文字を0オーバーです。制限数に達しました。");
    type(u"ab");
    EXPECT_EQ(editor.s.Text1.text.size(), 252u); // never cut
    editor.setOptionBox(6, false);
    editor.bodyEdited(0, 0, u"");
    EXPECT_FALSE(editor.s.Label5.visible);
}

TEST_F(TextTest, WeightedLimitOffersToCut) {
    limitTo(250);
    editor.setOptionBox(7, true);
    editor.setBody(test::repeat(u"漢", 250));
    EXPECT_FALSE(editor.s.Label5.visible);
    editor.bodySelectionChanged(250, 0);

    prompts.question(u"文字削除", u"overした分を削除しますか？", Buttons::YesNo, Answer::No);
    type(u"字");
    prompts.verify();
    EXPECT_TRUE(editor.s.Label5.visible);
    EXPECT_EQ(editor.s.Label5.caption, u"250文字を1文字オーバー。制限数に達しました。");
    EXPECT_EQ(editor.s.Text1.text.size(), 251u);
    EXPECT_EQ(std::pair(editor.s.Text1.selStart, editor.s.Text1.selLength), std::pair(250, 1)); // the excess

    prompts.question(u"文字削除", u"overした分を削除しますか？", Buttons::YesNo, Answer::Yes);
    editor.s.Text1.selStart = 251;
    type(u"字");
    prompts.verify();
    EXPECT_EQ(editor.s.Text1.text, test::repeat(u"漢", 249));
    EXPECT_FALSE(editor.s.Label5.visible);
    EXPECT_EQ(editor.s.Text1.selStart, 249);
    EXPECT_EQ(editor.s.Label1.caption, u"249.0文字 (249)");

    // Half-width letters: the excess has a fraction.
    prompts.question(u"文字削除", u"overした分を削除しますか？", Buttons::YesNo, Answer::Yes);
    editor.setBody(test::repeat(u"a", 501));
    EXPECT_EQ(editor.s.Label5.caption, u"250文字を0.5文字オーバー。制限数に達しました。");
    EXPECT_EQ(editor.s.Text1.text, test::repeat(u"a", 499));
}

TEST_F(TextTest, CheckOverflowLeavesRoomForTheSignature) {
    limitTo(250);
    editor.setOptionBox(7, true);
    editor.s.signatureOn = true;
    editor.SignatureText = test::repeat(u"署", 20);

    editor.setBody(test::repeat(u"漢", 250)); // over 230, but the change handling waits for 250
    EXPECT_FALSE(editor.s.Label5.visible);
    editor.bodySelectionChanged(250, 0);
    prompts.question(u"文字削除", u"overした分を削除しますか？", Buttons::YesNo, Answer::Yes);
    type(u"字");
    prompts.verify();
    EXPECT_EQ(editor.s.Text1.text.size(), 229u);

    // While sending, the signature is not reckoned.
    editor.s.sendBusy = true;
    editor.s.Text1.text = test::repeat(u"漢", 251);
    prompts.question(u"文字削除", u"overした分を削除しますか？", Buttons::YesNo, Answer::Yes);
    editor.checkOverflow();
    EXPECT_EQ(editor.s.Text1.text.size(), 249u);
}

TEST_F(TextTest, TitleWarningFromTheFifteenthCharacter) {
    for (int n : {14, 15}) {
        if (n > 14)
            prompts.message(std::u16string(core::AppTitle), u"15文字以上は、危険です。");
        editor.titleChanged(test::repeat(u"題", n));
        prompts.verify();
    }
    EXPECT_EQ(editor.s.Text2.text, test::repeat(u"題", 15));
}

TEST_F(TextTest, CutAndSelectionNeverSplitACharacter) {
    limitTo(11);
    editor.setOptionBox(7, true);
    const std::u16string ten = test::repeat(u"漢", 10);
    const std::u16string smile = u"\U0001F600";
    struct Case {
        std::u16string body;
        Answer answer;
        std::u16string kept;     // the body after Yes
        std::u16string selected; // the selection after No
    } cases[] = {
        // The limit is reached on the LF, or on the CR, of a line break.
        {ten + u"\r\nx", Answer::Yes, ten, {}},
        {ten + u"a\r\nb", Answer::No, {}, u"\r\nb"},
        // ... on the second half of a pair, or on its first.
        {ten + smile + u"b", Answer::Yes, ten, {}},
        {ten + u"a" + smile, Answer::No, {}, smile},
    };
    for (const Case& c : cases) {
        prompts.question(u"文字削除", u"overした分を削除しますか？", Buttons::YesNo, c.answer);
        editor.setBody(c.body);
        prompts.verify();
        const auto& body = editor.s.Text1;
        if (c.answer == Answer::Yes)
            EXPECT_EQ(body.text, c.kept) << test::show(c.body);
        else
            EXPECT_EQ(
                body.text.substr(static_cast<std::size_t>(body.selStart), static_cast<std::size_t>(body.selLength)),
                c.selected)
                << test::show(c.body);
    }
}

// The excess shows from the first character that does not fit, by the overflow check's own
// walk and limit; a body at the limit shows none. The count's level follows.
TEST_F(TextTest, TheExcessIsMarkedFromTheFirstCharacterThatDoesNotFit) {
    limitTo(11);
    editor.setOptionBox(7, true);
    const auto markFor = [&](std::u16string_view text) {
        editor.holdQuestions(); // the excess question is another test's
        editor.setBody(text);
        return std::pair(editor.s.Text1.markStart, editor.s.Text1.markEnd);
    };
    const std::u16string ten = test::repeat(u"漢", 10);
    EXPECT_EQ(markFor(ten + u"漢"), std::pair(11, 11)); // exactly at the limit
    EXPECT_EQ(editor.s.countLevel, core::CountLevel::Near);
    EXPECT_EQ(markFor(ten + u"漢a"), std::pair(11, 12));
    EXPECT_EQ(editor.s.countLevel, core::CountLevel::Over);
    EXPECT_EQ(markFor(ten + u"a漢b"), std::pair(11, 13));        // 11.5 with the second kanji
    EXPECT_EQ(markFor(ten + u"a\r\nb"), std::pair(11, 14));      // never inside a CR LF
    EXPECT_EQ(markFor(ten + u"a\U00020BB7"), std::pair(11, 13)); // nor inside a surrogate pair
    EXPECT_EQ(markFor(ten + u"a\uE63E"), std::pair(11, 12));     // an emoji counts one
    EXPECT_EQ(markFor(u"abc").first, 3);
    EXPECT_EQ(editor.s.countLevel, core::CountLevel::Normal);

    // Typing after the excess keeps where it starts; an edit before it moves it.
    markFor(ten + u"漢a");
    editor.bodyEdited(12, 0, u"x");
    EXPECT_EQ(std::pair(editor.s.Text1.markStart, editor.s.Text1.markEnd), std::pair(11, 13));
    editor.holdQuestions();
    editor.bodyEdited(0, 2, u"a");
    EXPECT_EQ(editor.s.Text1.markStart, 12);
    // Back within the limit, where it started is forgotten: typing at the end finds it anew.
    markFor(ten + u"漢a");
    editor.bodyEdited(0, 2, u"a"); // 10 characters
    editor.holdQuestions();
    editor.bodyEdited(11, 0, u"漢漢");
    EXPECT_EQ(editor.s.Text1.markStart, 12);

    // The signature's room comes off the limit while it is to be sent.
    editor.SignatureText = u"ab";
    core::mailbox::setSignatureOn(editor, true);
    EXPECT_EQ(markFor(ten).first, 9);
    core::mailbox::setSignatureOn(editor, false);

    // The plain limit counts characters, as its banner does.
    editor.setOptionBox(7, false);
    EXPECT_EQ(markFor(std::u16string(12, u'a')), std::pair(11, 12));
    EXPECT_EQ(markFor(std::u16string(11, u'a')), std::pair(11, 11));
    EXPECT_EQ(editor.s.countLevel, core::CountLevel::Near);

    // The preview marks the same characters in the phone's rows; no limit, no mark.
    editor.loadModelList();
    editor.modelSelected(0); // eight columns
    markFor(test::repeat(u"あ", 20));
    EXPECT_EQ(std::pair(editor.s.Text3.markStart, editor.s.Text3.markEnd),
              std::pair(11 + 2, int(editor.s.Text3.text.size()))); // after one row end
    // In the vertical preview the same characters lie in the cells of their columns.
    editor.s.Check3.checked = true;
    markFor(test::repeat(u"あ", 11) + test::repeat(u"い", 9));
    editor.releaseQuestions(); // the vertical preview follows once the edit shows
    ASSERT_EQ(editor.s.previewMarks.size(), 9u);
    for (const auto& [from, to] : editor.s.previewMarks)
        EXPECT_EQ(editor.s.Text3.text.substr(std::size_t(from), std::size_t(to - from)), u"い");
    // Kept whole past the three screens' budget, the preview still marks every cell of the excess.
    markFor(test::repeat(u"あ", 11) + test::repeat(u"い", 209));
    prompts.question(u"文字数オーバー", u"4文字オーバーになるので、削除してもよろしいですか？", Buttons::YesNo,
                     Answer::No);
    editor.releaseQuestions();
    prompts.verify();
    EXPECT_EQ(editor.s.previewMarks.size(), 209u);
    editor.s.Check3.checked = false;
    editor.setOptionBox(6, false);
    EXPECT_TRUE(editor.s.previewMarks.empty());
    EXPECT_EQ(editor.s.Text1.markStart, editor.s.Text1.markEnd);
    EXPECT_EQ(editor.s.Text3.markStart, editor.s.Text3.markEnd);
    editor.releaseQuestions();

    // The title from its 15th character.
    prompts.message(std::u16string(core::AppTitle), u"15文字以上は、危険です。");
    editor.titleChanged(test::repeat(u"題", 15));
    EXPECT_EQ(std::pair(editor.s.Text2.markStart, editor.s.Text2.markEnd), std::pair(14, 15));
}
