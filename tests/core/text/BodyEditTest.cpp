#include "TextFixture.h"

using core::BodyKey;

namespace {

BodyKey ctrl(BodyKey::Kind kind, int digit = 0) {
    BodyKey key;
    key.kind = kind;
    key.digit = digit;
    key.ctrl = true;
    return key;
}

BodyKey enter() {
    BodyKey key;
    key.kind = BodyKey::Enter;
    return key;
}

} // namespace

TEST_F(TextTest, PreviewFollowsTheBodyEditByEdit) {
    auto expectMirrored = [&](const char* step) {
        EXPECT_EQ(editor.s.Text3.text, editor.s.Text1.text) << step;
        EXPECT_EQ(view.preview, editor.s.Text1.text) << step;
        EXPECT_EQ(editor.s.Text3.selStart, editor.s.Text1.selStart) << step;
    };
    type(u"ことり便で\r\n送ります");
    expectMirrored("typed");
    EXPECT_EQ(view.previewEdits, 11); // one small edit per keystroke
    EXPECT_EQ(view.lastPreviewEdit.pos, 10);

    editor.bodyEdited(3, 1, u"");
    expectMirrored("deleted");
    editor.replaceBody(0, 3, u"小鳥");
    expectMirrored("replaced");
    EXPECT_EQ(view.lastPreviewEdit.removed, 3);
    std::u16string piece = editor.s.Text1.text.substr(2, 3);
    editor.replaceBody(0, 1, std::u16string_view(editor.s.Text1.text).substr(2, 3)); // a piece of itself
    expectMirrored("replaced by a piece of itself");
    EXPECT_EQ(view.lastBodyText, piece);
    editor.setBody(u"new");
    expectMirrored("set");
    EXPECT_EQ(editor.s.Text1.selStart, 0);

    // The preview box showed something else: it is copied whole.
    editor.setPreviewText(u"縦書き");
    type(u"!");
    expectMirrored("after another preview");
}

TEST_F(TextTest, ShortcutsInTheBody) {
    editor.s.Text1.text = u"本文";
    EXPECT_TRUE(editor.bodyKeyPress(ctrl(BodyKey::LetterA)));
    EXPECT_EQ(std::pair(editor.s.Text1.selStart, editor.s.Text1.selLength), std::pair(0, 2));
    EXPECT_TRUE(editor.bodyKeyPress(ctrl(BodyKey::LetterS)));
    EXPECT_EQ(view.clipboard, u"本文");

    BodyKey shifted = ctrl(BodyKey::LetterA);
    shifted.shift = true;
    EXPECT_FALSE(editor.bodyKeyPress(shifted)); // Ctrl only, without Shift or Alt

    // Ctrl+digit inserts emoji n over the selection.
    editor.s.PutChar = {core::MenuItem{}, core::MenuItem{}};
    editor.s.PutChar[0].caption = u"\uE63E   =   hare";
    editor.s.usedEmoji.clear(); // UsedEmoji starts empty
    editor.s.PutChar[1].caption = u"\uE63F   =   kumori";
    editor.setBody(u"abcd");
    editor.bodySelectionChanged(1, 2);
    EXPECT_TRUE(editor.bodyKeyPress(ctrl(BodyKey::Digit, 1)));
    EXPECT_EQ(editor.s.Text1.text, u"a\uE63Fd");
    EXPECT_EQ(editor.s.Text1.selStart, 2);
    editor.insertEmoji(0);
    EXPECT_EQ(editor.s.Text1.text, u"a\uE63F\uE63Ed");
    EXPECT_EQ(editor.s.usedEmoji, u"\uE63F\uE63E"); // UsedEmoji
    editor.bodyKeyPress(ctrl(BodyKey::Digit, 2));   // no item 2
    EXPECT_EQ(editor.s.Text1.text, u"a\uE63F\uE63Ed");
    EXPECT_EQ(editor.s.Text3.text, editor.s.Text1.text);
}

TEST_F(TextTest, EnterCountsChecksAndMarksTheReplacement) {
    editor.setBody(u"abc");
    EXPECT_FALSE(editor.bodyKeyPress(enter())); // the line break still goes in
    EXPECT_FALSE(editor.ReplacePending);

    editor.s.Aouttikan.checked = true;
    BodyKey shiftEnter = enter();
    shiftEnter.shift = true;
    EXPECT_FALSE(editor.bodyKeyPress(shiftEnter));
    EXPECT_TRUE(editor.ReplacePending);
    editor.bodyKeyRelease();
    EXPECT_FALSE(editor.ReplacePending);

    editor.setOptionBox(7, true);
    limitTo(11);
    editor.s.Text1.text = test::repeat(u"漢", 12);
    prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::Yes);
    EXPECT_FALSE(editor.bodyKeyPress(enter()));
    prompts.verify();
    EXPECT_EQ(editor.s.Text1.text, test::repeat(u"漢", 10));
    EXPECT_EQ(editor.s.Label1.caption, u"10文字 (10)"); // until the line break's own handling

    // "auto実行": the filtered count runs silently instead.
    editor.setOptionBox(8, true);
    editor.s.Text1.text = test::repeat(u"漢", 12);
    editor.bodyKeyPress(enter());
    EXPECT_EQ(editor.s.Label1.caption, u"12文字 (12)");
    EXPECT_EQ(editor.s.Text1.text.size(), 12u);

    // Ctrl+Enter sends (here it stops at the missing fields) and inserts no line break.
    editor.s.Combo2.items = {{u"main", 1}};
    editor.s.Combo2.listIndex = 0;
    prompts.question(
        u"ほんとに？",
        u"・宛先が未記入です。\r\n・タイトルが未記入です。(全角15文字以内)\r\n\r\n本当に送信してもいいんですか？",
        core::Buttons::OkCancel, core::Answer::Cancel);
    EXPECT_TRUE(editor.bodyKeyPress(ctrl(BodyKey::Enter)));
    EXPECT_EQ(editor.s.Text1.text.size(), 12u);
}

TEST_F(TextTest, EnterAfterKeepingTheExcessBreaksTheLineAtTheCaret) {
    limitTo(11);
    editor.setOptionBox(7, true);
    prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::No);
    editor.setBody(test::repeat(u"漢", 13));
    prompts.verify();
    editor.bodySelectionChanged(5, 0);
    // Asked once for the key: the change its line break makes asks nothing more.
    prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::No);
    EXPECT_TRUE(editor.bodyKeyPress(enter())); // the editor broke the line: the key must not
    prompts.verify();
    EXPECT_EQ(editor.s.Text1.text, u"漢漢漢漢漢\r\n漢漢漢漢漢漢漢漢");
    EXPECT_EQ(view.lastBodyText, u"\r\n");
    // The excess is selected again: from the character after the one that reached the limit.
    EXPECT_EQ(std::pair(editor.s.Text1.selStart, editor.s.Text1.selLength), std::pair(12, 3));

    // Yes cuts; the line break the key then puts in takes the body over again: the banner
    // shows, and nothing is asked.
    prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::No);
    editor.setBody(test::repeat(u"漢", 10) + u"a漢漢");
    editor.bodySelectionChanged(13, 0);
    prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::Yes);
    EXPECT_FALSE(editor.bodyKeyPress(enter()));
    editor.bodyEdited(editor.s.Text1.selStart, 0, u"\r\n");
    prompts.verify();
    EXPECT_EQ(editor.s.Text1.text, test::repeat(u"漢", 10) + u"a\r\n");
    EXPECT_TRUE(editor.s.Label5.visible);
    // The next key asks again.
    prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::No);
    EXPECT_FALSE(editor.bodyKeyPress(core::BodyKey{}));
    editor.bodyEdited(static_cast<int>(editor.s.Text1.text.size()), 0, u"a");
    prompts.verify();
}

// A question about an edit the window still holds comes once the window lets it, over the
// edit as it shows; a cut there is an edit of its own, and the preview asks its own once.
TEST_F(TextTest, HeldQuestionsComeOnceTheEditShows) {
    limitTo(11);
    editor.setOptionBox(7, true);
    editor.holdQuestions();
    editor.bodyEdited(0, 0, test::repeat(u"漢", 13));
    EXPECT_TRUE(editor.s.Label5.visible); // the banner at once, the question later
    EXPECT_EQ(editor.s.Text1.text, test::repeat(u"漢", 13));
    const int edits = view.bodyEdits;
    prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::Yes);
    editor.releaseQuestions();
    prompts.verify();
    EXPECT_EQ(editor.s.Text1.text, test::repeat(u"漢", 10));
    EXPECT_EQ(view.bodyEdits, edits + 1);
    EXPECT_EQ(editor.s.Label1.caption, u"10.0文字 (10)");
}
