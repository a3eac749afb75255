#include "core/mailbox/MessageRecord.h"

#include "core/app/Strings.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace core::mailbox;

namespace {

const std::string Header = "From:s\r\nTo:x\r\nSubject:abc\r\nX-Priority:3\r\n"
                           "X-imodeMailEditer:Kotoribin Plus Ver.0.5.3\r\n"
                           "Content-Type: text/plain; charset=shift_jis\r\n"
                           "Content-Transfer-Encoding: 8bit\r\nStatus:RW\r\n";
const std::string Fixed = Header.substr(Header.find("X-Priority")); // the lines after the title

std::string bytesOf(std::u16string body) {
    return recordBytes(messageRecord({u"s", u"x", u"", u"abc", body}));
}

} // namespace

TEST(MessageRecord, BytesOnDisk) {
    EXPECT_EQ(bytesOf(u"a\r\nb"), Header + "\r\na\r\nb\r\n.\r\n");
    // A trailing line break stays as an empty last body line.
    EXPECT_EQ(bytesOf(u"a\r\n"), Header + "\r\na\r\n\r\n.\r\n");
    // A body line "." is not escaped.
    EXPECT_EQ(bytesOf(u"a\r\n.\r\nb"), Header + "\r\na\r\n.\r\nb\r\n.\r\n");

    std::u16string record = messageRecord({u"s", u"x", u"me@docomo.ne.jp", u"abc", u"b"});
    EXPECT_NE(record.find(u"To:x\r\nBcc:me@docomo.ne.jp\r\nSubject:abc\r\n"), std::u16string::npos);
    EXPECT_EQ(record.substr(record.size() - 6), u"\r\nb\r\n.");
}

TEST(MessageRecord, LineBreaksInHeaderValuesBecomeSpaces) {
    // A title that would add a header, end the header early and end the record inside it.
    EXPECT_EQ(recordBytes(messageRecord({u"s\r\n", u"x\ry", u"b\nc", u"hi\r\nBcc:z\r\n.\r\n", u"a"})),
              "From:s \r\nTo:x y\r\nBcc:b c\r\nSubject:hi Bcc:z . \r\n" + Fixed + "\r\na\r\n.\r\n");
    EXPECT_NE(logRecord({u"s", u"x", u"", u"t\n", u"a"}, u"d\r\n", false).find(u"Subject:t \r\n"),
              std::u16string::npos);
    EXPECT_NE(logRecord({}, u"d\r\nX", false).find(u"\r\nX-Date:d X\r\nX-ViewMode:YOKO\r\n"), std::u16string::npos);
}

TEST(MessageRecord, LogRecordAddsDateAndViewMode) {
    EXPECT_EQ(dateTimeText({2027, 1, 31, 23, 59, 0}), u"2027/01/31 23:59:00");
    std::u16string log = logRecord({u"s", u"x", u"", u"abc", u"a"}, u"2026/12/06 9:05:03", false);
    EXPECT_NE(log.find(u"Status:RW\r\nX-Date:2026/12/06 9:05:03\r\nX-ViewMode:YOKO\r\n\r\na\r\n."),
              std::u16string::npos);
    EXPECT_NE(logRecord({}, u"d", true).find(u"\r\nX-ViewMode:TATE\r\n\r\n"), std::u16string::npos);
}

TEST(MessageRecord, JapaneseAndEmojiAsCp932) {
    std::string bytes = recordBytes(messageRecord({u"s", u"あ@docomo.ne.jp", u"", u"件名", u"あ\uE63E"}));
    EXPECT_NE(bytes.find("To:\x82\xA0@docomo.ne.jp\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Subject:\x8C\x8F\x96\xBC\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n\r\n\x82\xA0\xF8\x9F\r\n.\r\n"), std::string::npos);
}

TEST(MessageRecord, TargetPaths) {
    EXPECT_EQ(targetPath(u"C:\\Becky!\\", 5, false, false, u"D:\\kotori"), u"C:\\Becky!\\User5\\OutBox.mbx");
    EXPECT_EQ(targetPath(u"C:\\Becky!\\", 0, false, true, u"D:\\kotori"), u"C:\\Becky!\\User0\\OutBox\\Draft.mbx");
    EXPECT_EQ(targetPath(u"C:\\b2\\x.mb\\Outbox\\m.bmf", 112, true, false, u"D:\\k"), u"C:\\b2\\x.mb\\Outbox\\m.bmf");
    EXPECT_EQ(targetPath(u"C:\\Becky!\\", 200, true, false, u"D:\\kotori"), u"D:\\kotori\\kotori.dat");
    // Under Becky! 1.26 the two numbers are mail folders like any other.
    EXPECT_EQ(targetPath(u"C:\\Becky!\\", 112, false, false, u"D:\\k"), u"C:\\Becky!\\User112\\OutBox.mbx");
    EXPECT_EQ(targetPath(u"C:\\Becky!\\", 200, false, false, u"D:\\k"), u"C:\\Becky!\\User200\\OutBox.mbx");
    EXPECT_EQ(accountFolder(u"C:\\Becky!\\", 112), u"C:\\Becky!\\User112");

    EXPECT_EQ(folderIndexPath(u"D:\\data\\box.mb\\Outbox\\mail.bmf"), u"D:\\data\\box.mb\\Outbox\\Folder.idx");
    EXPECT_EQ(folderIndexPath(u"D:\\data\\box.mb\\MyOutbox\\a\\b.bmf"), u"D:\\data\\box.mb\\MyOutbox\\Folder.idx");
    EXPECT_EQ(folderIndexPath(u"D:\\data\\outbox\\mail.bmf"), u""); // the search is case-sensitive
}

namespace {

using Lines = std::vector<std::string>;

// Splits a mailbox into records the way a reader does: a header of the eight fixed lines, an
// empty line, then body lines up to a "." line that ends the file or is followed by "From:".
// Returns the records' header lines, or fails the test where the mailbox does not parse.
std::vector<Lines> parseMailbox(const std::string& bytes) {
    Lines lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.push_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    EXPECT_EQ(start, bytes.size()) << "the mailbox must end with a line end";
    const Lines fixed = {"X-Priority:3",
                         "X-imodeMailEditer:Kotoribin Plus Ver.0.5.3",
                         "Content-Type: text/plain; charset=shift_jis",
                         "Content-Transfer-Encoding: 8bit",
                         "Status:RW",
                         ""};
    std::vector<Lines> records;
    std::size_t i = 0;
    while (i < lines.size()) {
        if (lines.size() - i < 10) {
            ADD_FAILURE() << "a record is cut short at line " << i;
            break;
        }
        Lines header(lines.begin() + static_cast<long>(i), lines.begin() + static_cast<long>(i + 9));
        EXPECT_TRUE(header[0].starts_with("From:") && header[1].starts_with("To:") &&
                    header[2].starts_with("Subject:"));
        EXPECT_EQ(Lines(header.begin() + 3, header.end()), fixed);
        i += 9;
        while (i < lines.size() && !(lines[i] == "." && (i + 1 == lines.size() || lines[i + 1].starts_with("From:"))))
            ++i;
        EXPECT_LT(i, lines.size()) << "a record without its terminator";
        ++i;
        records.push_back(header);
    }
    return records;
}

} // namespace

TEST(MessageRecord, RandomMailsParseBackAsOneRecordEach) {
    // Pieces that have broken records before: line breaks of every kind, lone full stops,
    // phone emoji, characters without a CP932 form (a surrogate pair among them), header-like text.
    const std::vector<std::u16string> pieces = {u"a", u"あ",     u"会社", u".", u"\r",         u"\n",   u"\r\n",
                                                u" ", u"\uE63E", u"€",    u"ü", u"\U0001F600", u"Bcc:", u"@"};
    std::mt19937 random(20261206);
    auto text = [&](std::size_t maxPieces) {
        std::u16string out;
        for (std::size_t n = random() % (maxPieces + 1); n > 0; --n)
            out += pieces[random() % pieces.size()];
        return out;
    };
    auto expectedValue = [](const std::u16string& value) { return platform::encodeCp932(core::oneLine(value)); };

    test::TempFolder tmp;
    const std::u16string box = tmp.core() + u"\\OutBox.mbx";
    const int mails = 300;
    for (int n = 1; n <= mails; ++n) {
        const MessageFields mail{text(3), text(4), u"", text(6), text(12)};
        const std::string bytes = recordBytes(messageRecord(mail));
        const std::vector<Lines> alone = parseMailbox(bytes);
        ASSERT_EQ(alone.size(), 1u) << n;
        EXPECT_EQ(alone[0][0], "From:" + expectedValue(mail.sender));
        EXPECT_EQ(alone[0][1], "To:" + expectedValue(mail.destination));
        EXPECT_EQ(alone[0][2], "Subject:" + expectedValue(mail.title));
        ASSERT_TRUE(platform::appendRecord(box, bytes));
        if (n % 50 == 0) {
            ASSERT_EQ(parseMailbox(tmp.read("OutBox.mbx")).size(), static_cast<std::size_t>(n));
        }
    }
}
