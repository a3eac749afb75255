#include "core/app/AppFixture.h"
#include "core/vertical/HorizontalLayout.h"
#include "core/vertical/PreviewRows.h"
#include "core/vertical/VerticalConversion.h"

#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const std::u16string Notice =
    u"1.縦書きは、文字数を多く使用するので、横書きの場合より、文字数制限がきつくなります。\r\n"
    u"2.半角文字は、使えません。半角文字は、全角文字に自動で調整されますがプレビューが\r\n"
    u"　おかしくなった場合は、半角部分を全角にしてみてください。\r\n"
    u"3.署名機能は、横書き専用の為使用できませんので、手動でお書きください。\r\n"
    u"\r\n"
    u"※もう１度クリックすると、横書きモードになります。";

struct PreviewFixture : ::testing::Test, apptest::App {
    PreviewFixture() {
        editor.loadModelList();
        editor.modelSelected(0); // P501i, 8 x 9
    }
    void expectModeQuestion(core::Answer answer) {
        prompts.question(u"縦書きﾓｰﾄﾞON？", u"縦書きで、i-modeメールを送信しますか？", core::Buttons::YesNo, answer);
    }
};

} // namespace

TEST_F(PreviewFixture, VerticalModeSwitchesOnAndOff) {
    editor.setImode(true); // the send image button is on
    editor.s.Text1.text = u"あいう";
    expectModeQuestion(core::Answer::No);
    editor.verticalModeButton();
    EXPECT_FALSE(editor.s.verticalMode);

    expectModeQuestion(core::Answer::Yes);
    prompts.message(u"諸注意", Notice);
    editor.verticalModeButton();
    prompts.verify();
    EXPECT_TRUE(editor.s.Command7.red && editor.s.Check3.checked);
    EXPECT_FALSE(editor.s.Command5.enabled); // no send image beside the vertical preview

    // Unticking the preview leaves the mode on.
    editor.setVerticalPreview(false);
    EXPECT_TRUE(editor.s.verticalMode && editor.s.Command5.enabled);

    editor.setVerticalPreview(true);
    prompts.message(u"横書きモード チェンジ", u"通常の横書きモードに戻します。");
    editor.verticalModeButton();
    EXPECT_FALSE(editor.s.verticalMode);
    EXPECT_FALSE(editor.s.Command7.red || editor.s.Check3.checked);
    EXPECT_EQ(editor.s.Text1.text, u"あいう");
}

TEST_F(PreviewFixture, PreviewConversionAndModelChange) {
    editor.s.Text1.text = u"ａｂ\r\nｃ";
    editor.convertToVertical(0);
    std::u16string rows = u"　　　　　　ｃａ\r\n　　　　　　　ｂ";
    for (int row = 0; row < 7; ++row)
        rows += u"\r\n" + std::u16string(8, u'\u3000');
    EXPECT_EQ(editor.s.Text3.text, rows); // each row on a line of its own
    EXPECT_EQ(editor.s.Text3.selStart, 72 + 8 * 2);
    EXPECT_EQ(editor.s.Text1.text, u"ａｂ\r\nｃ");

    // A new model lays the preview out again while the vertical preview is ticked.
    editor.s.Check3.checked = true;
    editor.modelSelected(1); // N501i, 10 x 10
    EXPECT_EQ(editor.s.Text3.text.substr(0, 10), u"　　　　　　　　ｃａ");
    editor.s.Check3.checked = false;
    editor.modelSelected(2);
    EXPECT_EQ(editor.s.Text3.text.size(), 100u + 9 * 2); // left alone
}

TEST_F(PreviewFixture, ForcedLayoutsInPlace) {
    const std::u16string body = u"あいう\r\nえおかきく";
    editor.s.Text1.text = body;
    const int edits = view.bodyEdits;
    editor.preTate(1); // 送信_TEXTモード(&S)
    EXPECT_EQ(view.bodyEdits, edits + 1);
    EXPECT_EQ(editor.s.Text1.text.size(), 72u);
    editor.yokoPre(); // 無理矢理横書き(&Y)
    std::u16string back = u"あいう\r\nえおかきく\r\n";
    for (int i = 0; i < 6; ++i)
        back += u"　\r\n";
    EXPECT_EQ(test::show(editor.s.Text1.text), test::show(back));

    // Declining the budget in the text view changes nothing.
    editor.s.Text1.text = std::u16string(217, u'あ');
    prompts.question(u"文字数オーバー", u"1文字オーバーになるので、削除してもよろしいですか？", core::Buttons::YesNo,
                     core::Answer::No);
    editor.preTate(0);
    EXPECT_EQ(editor.s.Text1.text, std::u16string(217, u'あ'));
}

TEST_F(PreviewFixture, ModelWithoutRowsIsReportedNotLaidOut) {
    folder.write("Keitai.pre", "Flat#0800\r\nThin#0320\r\n");
    editor.loadModelList();
    const std::u16string body = u"あいう";
    editor.s.Text1.text = body;
    editor.s.Check3.checked = true;
    prompts.message(u"ことり便", std::u16string(core::CannotLayOutText));
    editor.modelSelected(4);
    prompts.verify();
    EXPECT_EQ(editor.s.Text3.text, body); // the preview shows the body as it is

    prompts.message(u"ことり便", std::u16string(core::CannotReadBackText));
    editor.yokoPre();
    prompts.verify();
    EXPECT_EQ(editor.s.Text1.text, body);
}

TEST_F(PreviewFixture, ANarrowModelIsReportedOnceNotOnEveryKeystroke) {
    folder.write("Keitai.pre", "Thin#0320\r\n");
    editor.loadModelList();
    editor.modelSelected(4); // three columns: one page of 60, no room for a separator row
    editor.setBody(std::u16string(61, u'あ'));
    prompts.message(u"ことり便", std::u16string(core::CannotLayOutText));
    editor.setVerticalPreview(true);
    prompts.verify();
    EXPECT_EQ(editor.s.Text3.text, editor.s.Text1.text);
    EXPECT_TRUE(editor.s.Text3.wraps);

    // Typing on: the preview shows the text as it is, and nothing is asked.
    for (int i = 0; i < 3; ++i)
        editor.bodyEdited(static_cast<int>(editor.s.Text1.text.size()), 0, u"い");
    EXPECT_EQ(editor.s.Text3.text, editor.s.Text1.text);
}

// The rows one character at a time: a pair takes two positions, any other unit its bytes in
// code page 932; a row ends when full, or before a two-position character that does not fit.
static std::u16string rowsByTheRules(std::u16string_view text, int width) {
    std::u16string out;
    int position = 0;
    for (std::size_t i = 0; i < text.size();) {
        const bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                          text[i + 1] < 0xE000;
        const std::u16string_view ch = text.substr(i, pair ? 2 : 1);
        i += ch.size();
        if (ch[0] == u'\n')
            position = 0;
        if (ch[0] == u'\n' || ch[0] == u'\r' || width < 2) {
            out += ch;
            continue;
        }
        const int size = pair ? 2 : static_cast<int>(platform::sjisLength(ch));
        if (position + size > width) {
            out += u"\r\n";
            position = 0;
        }
        out += ch;
        position += size;
        if (position == width) {
            out += u"\r\n";
            position = 0;
        }
    }
    return out;
}

// The horizontal preview follows random edits line by line, and always equals the body laid
// out afresh in the send image's rows, its caret included.
TEST(PreviewRows, FollowRandomEditsAsTheSendImageLaysThemOut) {
    const std::vector<std::u16string> pieces = {u"あ",
                                                u"a",
                                                u"ｱ",
                                                u"\r\n",
                                                u"\n",
                                                u"\r",
                                                u"\U00020BB7",
                                                u"\uE63E",
                                                u"\u0101", // no form: one '?'
                                                u"\xD842", // a high surrogate alone
                                                u"あいうえおかきくけこ",
                                                u"abcdefghijklmnopq"};
    std::mt19937 random(7);
    for (int width : {0, 1, 2, 3, 5, 16, 17, 24, 41}) {
        std::u16string body;
        core::PreviewRows rows;
        std::u16string shown = rows.build(body, width);
        for (int step = 0; step < 300; ++step) {
            // Now and then the whole body at once, as a command over all of it.
            const bool whole = step % 50 == 49;
            const std::size_t pos = body.empty() || whole ? 0 : random() % (body.size() + 1);
            const std::size_t removed = whole               ? body.size()
                                        : random() % 3 == 0 ? std::min<std::size_t>(random() % 12, body.size() - pos)
                                                            : 0;
            std::u16string added;
            // A long body now and then, laid out in storage a change gave back.
            for (std::size_t n = whole && step % 100 == 99 ? 1500 : random() % 4; n > 0; --n)
                added += pieces[random() % pieces.size()];
            body.replace(pos, removed, added);
            core::PreviewRows::Change c = rows.update(body, pos, removed, added.size());
            ASSERT_LE(c.pos + c.removed, shown.size());
            shown.replace(c.pos, c.removed, c.text);
            rows.recycle(std::move(c.text));

            std::u16string expected;
            core::appendRows(expected, body, width);
            ASSERT_EQ(shown, expected) << "width " << width << " step " << step;
            ASSERT_EQ(expected, rowsByTheRules(body, width)) << "width " << width << " step " << step;
            core::PreviewRows fresh;
            fresh.build(body, width);
            for (std::size_t at = 0; at <= body.size(); at += 1 + body.size() / 16)
                ASSERT_EQ(rows.previewPosition(at), fresh.previewPosition(at)) << width << " " << step;
        }
    }
    // Lines far longer than a row, of one- and two-position characters (or mostly one-position
    // ones, whose rows hold as many units as the width): short ones, as a keystroke's layout
    // sees them, and long ones, as a command's. The row ends stand where the rows' breaks do.
    for (const std::u16string_view mix :
         {u"あaｱ漢", u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaあ"})
        for (const std::size_t length : {1500, 9000}) {
            std::u16string line;
            for (std::size_t i = 0; i < length; ++i)
                line += mix[random() % mix.size()];
            for (int width : {2, 3, 15, 16, 17, 24, 32, 33, 41}) {
                std::u16string rows;
                core::RowEnds ends;
                core::appendRows(rows, line, width, 5, &ends);
                ASSERT_EQ(rows, rowsByTheRules(line, width)) << width;
                std::vector<std::size_t> expectedEnds;
                for (std::size_t at = rows.find(u'\r'); at != std::u16string::npos; at = rows.find(u'\r', at + 1))
                    expectedEnds.push_back(at - 2 * expectedEnds.size() + 5);
                ASSERT_EQ(std::vector<std::size_t>(ends.begin(), ends.end()), expectedEnds) << width;
            }
        }
    // Eight full-width characters fill a row of the eight-column phone: the ninth starts the next.
    std::u16string eight;
    core::appendRows(eight, u"あいうえおかきくけこさしすせそ", 16);
    EXPECT_EQ(eight, u"あいうえおかきく\r\nけこさしすせそ");
}

// Long lines of one size edited so that the rows after the edit line up with the old ones at
// once, later or never: the rows up to there are written many at a time.
TEST(PreviewRows, LongLinesOfOneSizeFollowEdits) {
    std::mt19937 random(11);
    const std::u16string edits[] = {u"a", u"あ", u"ああ", u"aa", u"", u"\r\n", u"aあ"};
    for (int width : {16, 17, 24})
        for (char16_t unit : {u'あ', u'a'}) {
            std::u16string body(3000, unit);
            core::PreviewRows rows;
            std::u16string shown = rows.build(body, width);
            for (int step = 0; step < 40; ++step) {
                const std::size_t pos = random() % (body.size() + 1);
                const std::size_t removed = std::min<std::size_t>(random() % 3, body.size() - pos);
                const std::u16string& added = edits[random() % std::size(edits)];
                body.replace(pos, removed, added);
                core::PreviewRows::Change c = rows.update(body, pos, removed, added.size());
                shown.replace(c.pos, c.removed, c.text);
                std::u16string expected;
                core::appendRows(expected, body, width);
                ASSERT_EQ(shown, expected) << "width " << width << " step " << step;
                core::PreviewRows fresh;
                fresh.build(body, width);
                for (std::size_t at = 0; at <= body.size(); at += 1 + body.size() / 40)
                    ASSERT_EQ(rows.previewPosition(at), fresh.previewPosition(at)) << width << " " << step;
            }
        }
}

// A cut of the excess in vertical preview lays the preview out once: its budget question comes
// once, for what the cut left.
TEST_F(PreviewFixture, ACutInVerticalPreviewAsksTheBudgetOnce) {
    editor.CharLimit = 300;
    editor.s.Check1[6].checked = editor.s.Check1[7].checked = true;
    editor.s.Check3.checked = true;
    prompts.question(u"文字削除", u"overした分を削除しますか？", core::Buttons::YesNo, core::Answer::Yes);
    prompts.question(u"文字数オーバー", u"83" + std::u16string(core::OverBudgetText), core::Buttons::YesNo,
                     core::Answer::No);
    editor.bodyEdited(0, 0, std::u16string(320, u'あ'));
    prompts.verify();
    EXPECT_EQ(editor.s.Text1.text.size(), 299u);
}
