#include "MailboxFixture.h"

#include "core/mailbox/MessageRecord.h"
#include "platform/Files.h"

#include <random>
#include <vector>

using namespace core::mailbox;

namespace {

const std::string Header = "From:s\r\nTo:x\r\nSubject:abc\r\n" + FixedLines;

std::string bytesOf(std::u16string body) {
    return recordBytes(messageRecord({u"s", u"x", u"", u"abc", body}));
}

} // namespace

TEST(MessageRecord, BytesOnDisk) {
    EXPECT_EQ(bytesOf(u"a\r\nb"), Header + "\r\na\r\nb\r\n.\r\n");
    // A body line "." is not escaped.
    EXPECT_EQ(bytesOf(u"a\r\n.\r\nb"), Header + "\r\na\r\n.\r\nb\r\n.\r\n");
    // The Bcc line and the log's date and view mode: see the send tests.
}

TEST(MessageRecord, LineBreaksInHeaderValuesBecomeSpaces) {
    // The header values' line breaks: see the random mails below and the send tests.
    EXPECT_NE(logRecord({}, u"d\r\nX", false).find(u"\r\nX-Date:d X\r\nX-ViewMode:YOKO\r\n"), std::u16string::npos);
}

// Where each account writes is checked by the send tests; the outbox index is found by the
// path's "Outbox" part only.
TEST(MessageRecord, FolderIndexPath) {
    EXPECT_EQ(folderIndexPath(u"D:\\data\\box.mb\\MyOutbox\\a\\b.bmf"), u"D:\\data\\box.mb\\MyOutbox\\Folder.idx");
    EXPECT_EQ(folderIndexPath(u"D:\\data\\outbox\\mail.bmf"), u""); // the search is case-sensitive
}

namespace {

using Lines = std::vector<std::string>;

Lines splitLines(const std::string& bytes) {
    Lines lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.push_back(bytes.substr(start, i - start));
        i += bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
        start = i + 1;
    }
    EXPECT_EQ(start, bytes.size()) << "the mailbox must end with a line end";
    return lines;
}

// Splits a mailbox the way a reader does: the three addressed lines, the fixed lines, an empty
// line, then body lines up to a "." line that ends the file or is followed by "From:". Returns
// each record's first three lines; fails the test where the mailbox does not parse.
std::vector<Lines> parseMailbox(const std::string& bytes) {
    const Lines lines = splitLines(bytes), fixed = splitLines(FixedLines + "\r\n");
    std::vector<Lines> records;
    for (std::size_t i = 0; i < lines.size();) {
        if (lines.size() - i < 4 + fixed.size()) {
            ADD_FAILURE() << "a record is cut short at line " << i;
            break;
        }
        records.emplace_back(lines.begin() + static_cast<long>(i), lines.begin() + static_cast<long>(i + 3));
        EXPECT_EQ(
            Lines(lines.begin() + static_cast<long>(i + 3), lines.begin() + static_cast<long>(i + 3 + fixed.size())),
            fixed);
        i += 3 + fixed.size();
        while (i < lines.size() && !(lines[i] == "." && (i + 1 == lines.size() || lines[i + 1].starts_with("From:"))))
            ++i;
        EXPECT_LT(i, lines.size()) << "a record without its terminator";
        ++i;
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
    // A header value as written: every kind of line break a space.
    auto onOneLine = [](std::u16string value) {
        for (std::size_t at; (at = value.find_first_of(u"\r\n")) != std::u16string::npos;)
            value.replace(at, value.compare(at, 2, u"\r\n") == 0 ? 2 : 1, u" ");
        return platform::encodeCp932(value);
    };
    test::TempFolder tmp;
    const std::u16string box = tmp.core() + u"\\OutBox.mbx";
    for (int n = 1; n <= 300; ++n) {
        const MessageFields mail{text(3), text(4), u"", text(6), text(12)};
        const std::string bytes = recordBytes(messageRecord(mail));
        const std::vector<Lines> alone = parseMailbox(bytes);
        ASSERT_EQ(alone.size(), 1u) << n;
        EXPECT_EQ(alone[0], (Lines{"From:" + onOneLine(mail.sender), "To:" + onOneLine(mail.destination),
                                   "Subject:" + onOneLine(mail.title)}));
        ASSERT_TRUE(platform::appendRecord(box, bytes));
        if (n % 50 == 0) {
            ASSERT_EQ(parseMailbox(tmp.read("OutBox.mbx")).size(), static_cast<std::size_t>(n));
        }
    }
}
