#include "MailboxFixture.h"

#include "core/mailbox/MessageRecord.h"
#include "core/app/Strings.h"
#include "core/vertical/PreviewRows.h"
#include "core/vertical/VerticalConversion.h"

#include <filesystem>
#include <random>

namespace mb = core::mailbox;

namespace {

const std::u16string Heading = u"タイトル\t|宛先（TO:）\t|送信時間(date:)\t|差出人（FROM:)\t|内容";
const std::u16string NoFile = u"BECKY側の草稿データがないか、設定が間違っている可能性があります。";
const std::u16string Discard = u"現在の編集内容が破棄されますがよろしいですか？";
const std::u16string Horizontal = u"この文章は、縦書きで記入されています。編集しやすいように横書きにしますか？";

std::string stored(const mb::MessageFields& mail) {
    return mb::recordBytes(mb::messageRecord(mail));
}

std::string logged(const mb::MessageFields& mail, bool vertical) {
    return mb::recordBytes(mb::logRecord(mail, u"2026/12/06 9:05:03", vertical));
}

class DraftListTest : public test::MailboxTest {
protected:
    void SetUp() override {
        test::MailboxTest::SetUp();
        editor.loadModelList(); // P501i: eight columns of nine rows
        editor.modelSelected(0);
        editor.s.Text1.text.clear();
        editor.s.Text2.text.clear();
    }
    const std::string draftFile = "Becky!/User1/OutBox/Draft.mbx";
    std::vector<std::u16string> rows() const {
        std::vector<std::u16string> texts;
        for (const core::ListEntry& e : editor.s.List1.items)
            texts.push_back(e.text);
        return texts;
    }
    void listLog(std::string bytes) {
        tmp.write("OutPutLog.mbx", bytes);
        editor.readingBecky(1);
        prompts.verify();
    }
};

} // namespace

TEST_F(DraftListTest, DraftsListOnlyOurRecordsLastFirstAndLeaveTheFileAlone) {
    const std::string becky = "From: Taro <taro@example.jp>\r\nTo: someone@example.jp\r\nSubject: Becky!\r\n"
                              "X-Mailer: Becky! ver. 1.26\r\n\r\nwritten in Becky!\r\n.\r\n";
    const std::string file = stored({u"me@docomo.ne.jp", u"a@docomo.ne.jp", {}, u"一通目", u"あ\r\nい"}) + becky +
                             stored({u"me@docomo.ne.jp", u"b@docomo.ne.jp", {}, u"二通目", u"う"});
    tmp.write(draftFile, file);
    editor.s.Label6.caption = u"草稿：9_ログ：4";
    editor.readingBecky(0);
    EXPECT_EQ(rows(), (std::vector<std::u16string>{Heading, u"二通目\t|b@docomo.ne.jp\t|\t|me@docomo.ne.jp\t|う\r\n",
                                                   u"一通目\t|a@docomo.ne.jp\t|\t|me@docomo.ne.jp\t|あ\r\nい\r\n"}));
    EXPECT_EQ(editor.s.Label6.caption, u"草稿：2_ログ：4");
    EXPECT_TRUE(editor.s.List1.visible);
    EXPECT_EQ(editor.s.List1.horizontalExtent, 1300);
    EXPECT_EQ(editor.s.List1.rect.top, editor.s.Text1.rect.top + editor.s.Text1.rect.height + 60); // laid out
    EXPECT_EQ(tmp.read(draftFile), file);

    // Only Becky!'s own record: the heading alone, and the counts stay.
    tmp.write(draftFile, becky);
    prompts.message(App, u"書きかけのデータは、ないようです。");
    editor.readingBecky(0);
    EXPECT_EQ(rows(), std::vector<std::u16string>{Heading});
    EXPECT_EQ(editor.s.Label6.caption, u"草稿：2_ログ：4");
}

TEST_F(DraftListTest, MissingOrUnreadableFileGetsOneMessage) {
    prompts.message(App, NoFile);
    editor.readingBecky(0); // no Draft.mbx
    prompts.message(App, NoFile);
    editor.readingBecky(1); // no log
    tmp.write(draftFile, stored({u"me@docomo.ne.jp", u"a", {}, u"t", u"b"}));
    editor.s.Combo2.listIndex = -1; // no account chosen: no drafts to name
    prompts.message(App, NoFile);
    editor.readingBecky(0);
    EXPECT_EQ(rows(), std::vector<std::u16string>{Heading});
    EXPECT_FALSE(editor.s.List1.visible);
    EXPECT_EQ(editor.s.List1.horizontalExtent, 1300);
    EXPECT_EQ(editor.s.Label6.caption, u"草稿：0_ログ：0");
}

TEST_F(DraftListTest, LogRowsKeepTheBodyAsWrittenAndMarkVerticalMails) {
    // A stranger's record too; header fields only above the first empty line; Bcc is header.
    const std::string file = "From:x@example.jp\r\nSubject:plain\r\n\r\nhi\r\n.\r\n" +
                             logged({u"me@docomo.ne.jp", u"a@docomo.ne.jp", u"main@example.jp", u"件名",
                                     u"To:x\r\n\r\nX-ViewMode:TATE\r\n\tend\r\n"},
                                    false) +
                             logged({u"me@docomo.ne.jp", u"b@docomo.ne.jp", {}, u"縦", u"ｒｏｗｓ"}, true) +
                             "From:cut@example.jp\r\n\r\nno terminator\r\n";
    listLog(file);
    EXPECT_EQ(rows(), (std::vector<std::u16string>{
                          Heading, u"縦\t|b@docomo.ne.jp\t|2026/12/06 9:05:03\t|me@docomo.ne.jp\t|ｒｏｗｓ\r\n",
                          u"件名\t|a@docomo.ne.jp\t|2026/12/06 9:05:03\t|me@docomo.ne.jp\t|"
                          u"To:x\r\n\r\nX-ViewMode:TATE\r\n\tend\r\n\r\n",
                          u"plain\t|\t|\t|x@example.jp\t|hi\r\n"}));
    EXPECT_EQ(editor.s.List1.items[1].data, 1);
    EXPECT_EQ(editor.s.List1.items[2].data + editor.s.List1.items[3].data, 0);
    EXPECT_EQ(editor.s.Label6.caption, u"草稿：0_ログ：3");
    EXPECT_EQ(tmp.read("OutPutLog.mbx"), file);
    // Loaded back, the body is the mail's own, blank lines and header-like lines included.
    editor.listRowClicked(2);
    EXPECT_EQ(editor.s.Text1.text, u"To:x\r\n\r\nX-ViewMode:TATE\r\n\tend\r\n");

    // The count label's other half survives; a label without "_" gets a fresh one.
    editor.s.Label6.caption = u"garbled";
    editor.readingBecky(1);
    EXPECT_EQ(editor.s.Label6.caption, u"草稿：0_ログ：3");
    EXPECT_EQ(editor.s.List1.listIndex, -1); // read afresh: no row chosen yet
}

TEST_F(DraftListTest, ClickLoadsTheRowWithSenderAndDestination) {
    editor.s.Combo1.items = {{u"a@docomo.ne.jp", 0}, {u"b@docomo.ne.jp", 1}};
    editor.s.OutAdr[1].checked = true;
    editor.s.senderIndex = 1;
    listLog(logged({u"me@docomo.ne.jp", u"b@docomo.ne.jp", {}, u"既知", u"本文\t|続き"}, false) +
            logged({u"stranger@example.jp", u"new@docomo.ne.jp", {}, u"未知", u"x"}, false));

    editor.listRowClicked(2);
    EXPECT_EQ(editor.s.Text1.text, u"本文\t|続き");
    EXPECT_EQ(editor.s.Text2.text, u"既知");
    EXPECT_EQ(editor.s.Combo1.listIndex, 1);
    EXPECT_EQ(editor.s.Combo1.text, u"b@docomo.ne.jp");
    EXPECT_EQ(editor.s.Combo3.listIndex, 1); // the destination's phone model
    EXPECT_EQ(editor.s.senderIndex, 0);
    EXPECT_TRUE(editor.s.OutAdr[0].checked && !editor.s.OutAdr[1].checked);
    EXPECT_FALSE(editor.s.modified);

    // An unknown sender takes entry 0; an unknown destination is typed into the box.
    editor.s.OutAdr[0].checked = false;
    editor.s.OutAdr[1].checked = true;
    editor.s.senderIndex = 1;
    editor.listRowClicked(1);
    EXPECT_EQ(editor.s.senderIndex, 0);
    EXPECT_TRUE(editor.s.OutAdr[0].checked && !editor.s.OutAdr[1].checked);
    EXPECT_EQ(editor.s.Combo1.listIndex, -1);
    EXPECT_EQ(editor.s.Combo1.text, u"new@docomo.ne.jp");
    EXPECT_EQ(editor.s.List1.listIndex, 1);

    // A changed body is kept unless the user lets it go.
    editor.bodyEdited(1, 0, u"y");
    prompts.question(u"保存した？", Discard, Buttons::YesNo, Answer::No);
    editor.listRowClicked(2);
    EXPECT_EQ(editor.s.Text1.text, u"xy");
    prompts.question(u"保存した？", Discard, Buttons::YesNo, Answer::Yes);
    editor.listRowClicked(2);
    EXPECT_EQ(editor.s.Text1.text, u"本文\t|続き");

    // The heading row clears the editor and the selection; out-of-range clicks do nothing.
    editor.s.usedEmoji = u"\uE63E";
    editor.listRowClicked(0);
    EXPECT_EQ(editor.s.Text1.text + editor.s.Text2.text + editor.s.usedEmoji, u"");
    EXPECT_EQ(editor.s.List1.listIndex, -1);
    EXPECT_EQ(editor.s.Combo1.text, u"b@docomo.ne.jp");

    editor.listDoubleClicked();
    EXPECT_FALSE(editor.s.List1.visible);
}

TEST_F(DraftListTest, VerticalMailsComeBackHorizontalWhenWanted) {
    // Full pages without line breaks lay out and read back exactly.
    std::u16string page, twoPages;
    for (int i = 0; i < 144; ++i)
        (i < 72 ? page : twoPages) += static_cast<char16_t>(u'ぁ' + i % 72);
    twoPages = page + twoPages;
    const std::u16string vertical = core::toVertical(page, {8, 9}, core::VerticalMode::Send, prompts).text;
    const std::u16string paged = core::toVertical(twoPages, {8, 9}, core::VerticalMode::Send, prompts).text;
    ASSERT_NE(paged.find(u"次のページ"), std::u16string::npos);
    // Sent vertical, and sent horizontal after a forced vertical layout.
    listLog(logged({u"me@docomo.ne.jp", u"a", {}, u"pages", paged}, false) +
            logged({u"me@docomo.ne.jp", u"a", {}, u"tate", vertical}, true));
    ASSERT_EQ(editor.s.List1.items[1].data, 1);

    prompts.question(u"横書き編集", Horizontal, Buttons::YesNo, Answer::Yes);
    editor.listRowClicked(1);
    EXPECT_EQ(editor.s.Text1.text, page);
    EXPECT_TRUE(editor.s.verticalMode && editor.s.Command7.red && editor.s.Check3.checked);
    // The preview lays out the loaded body.
    EXPECT_EQ(editor.s.Text3.text, core::toVertical(page, {8, 9}, core::VerticalMode::Preview, prompts).text);
    EXPECT_FALSE(editor.s.modified);

    // No keeps the layout, switches the mode off and forgets the mark.
    prompts.question(u"横書き編集", Horizontal, Buttons::YesNo, Answer::No);
    editor.listRowClicked(1);
    EXPECT_EQ(editor.s.Text1.text, vertical);
    EXPECT_FALSE(editor.s.verticalMode || editor.s.Command7.red || editor.s.Check3.checked);
    std::u16string rows; // the body as it stands, in the phone's rows
    core::appendRows(rows, vertical, 16);
    EXPECT_EQ(editor.s.Text3.text, rows);
    editor.listRowClicked(1); // asks nothing now
    prompts.verify();

    // A page separator in a horizontal mail asks whether it is vertical after all.
    const std::u16string guess = u"この文章は、縦書きで記入された可能性があります。縦書きとみなします。";
    prompts.question(u"縦がき？", guess, Buttons::YesNo, Answer::No);
    editor.listRowClicked(2);
    EXPECT_EQ(editor.s.Text1.text, paged);
    prompts.question(u"縦がき？", guess, Buttons::YesNo, Answer::Yes)
        .question(u"横書き編集", Horizontal, Buttons::YesNo, Answer::Yes);
    editor.listRowClicked(2);
    EXPECT_EQ(editor.s.Text1.text, twoPages);
    EXPECT_TRUE(editor.s.verticalMode);
}

// Whatever the user wrote comes back from the log as it was sent: blank lines, lines that
// look like header lines, emoji, a signature, and titles and destinations that hold the list's
// column separator.
TEST_F(DraftListTest, SentMailsComeBackFromTheLogUnchanged) {
    const std::vector<std::u16string> pieces = {u"",
                                                u"",
                                                u"To:x",
                                                u"From:",
                                                u"Subject:件名",
                                                u"X-ViewMode:TATE",
                                                u"X-Date:1",
                                                u"Kotoribin",
                                                u"本文",
                                                u"\uE63E\uE6EC",
                                                u" ",
                                                u"\t|tab",
                                                u"..",
                                                u"a.b",
                                                u"ｶﾀｶﾅ"};
    std::mt19937 random(14);
    editor.s.IOutNO.checked = editor.s.IOutput.checked = true; // no confirmation, a new mail after each send
    const std::vector<std::u16string> titles = {u"t", u"a\t|b", u"|", u"\t", u"\t|", u"\uE63E", u"x\t|y\t|z"};
    const std::vector<std::u16string> destinations = {u"x@docomo.ne.jp", u"b\t|c@docomo.ne.jp", u"|d@docomo.ne.jp",
                                                      u"\te@docomo.ne.jp\uE63E", u"f@docomo.ne.jp\t|"};
    for (const std::u16string& d : destinations) // known: sending asks nothing about registering them
        editor.s.Combo1.items.push_back({d, 0});
    editor.SignatureText = u"--\\n太郎";
    for (int round = 0; round < 120; ++round) {
        std::u16string body;
        const int lines = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < lines; ++i) {
            if (i > 0)
                body += u"\r\n";
            body += pieces[random() % pieces.size()];
            if (random() % 2)
                body += pieces[random() % pieces.size()];
        }
        if (body.empty())
            body = u"\r\n";
        editor.s.signatureOn = round % 3 == 0;
        const std::u16string sent = editor.s.signatureOn ? body + u"\r\n--\r\n太郎" : body;
        const std::u16string title = titles[random() % titles.size()] + core::decimal(round);
        const std::u16string destination = destinations[random() % destinations.size()];
        editor.s.Text2.text = title;
        editor.s.Combo1.text = destination;
        editor.setBody(body);
        editor.send();
        prompts.verify();
        ASSERT_EQ(editor.s.Text1.text, u"");

        editor.readingBecky(1);
        ASSERT_EQ(editor.s.List1.items.size(), static_cast<std::size_t>(round + 2));
        editor.listRowClicked(1);
        ASSERT_EQ(editor.s.Text1.text, sent) << test::show(sent);
        ASSERT_EQ(editor.s.Text2.text, title) << test::show(title);
        ASSERT_EQ(editor.s.Combo1.text, destination) << test::show(destination);
        editor.newMail();
    }
}
