#include "MailboxFixture.h"

#include "core/mailbox/MessageRecord.h"

using namespace core::mailbox;

namespace {

const std::string Header = "From:s\r\nTo:x\r\nSubject:abc\r\n" + FixedLines;

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
    // The Bcc line and the log's date and view mode: see the send tests.
}

TEST(MessageRecord, LineBreaksInHeaderValuesBecomeSpaces) {
    // A title that would add a header, end the header early and end the record inside it.
    EXPECT_EQ(recordBytes(messageRecord({u"s\r\n", u"x\ry", u"b\nc", u"hi\r\nBcc:z\r\n.\r\n", u"a"})),
              "From:s \r\nTo:x y\r\nBcc:b c\r\nSubject:hi Bcc:z . \r\n" + FixedLines + "\r\na\r\n.\r\n");
    EXPECT_NE(logRecord({u"s", u"x", u"", u"t\n", u"a"}, u"d\r\n", false).find(u"Subject:t \r\n"),
              std::u16string::npos);
    EXPECT_NE(logRecord({}, u"d\r\nX", false).find(u"\r\nX-Date:d X\r\nX-ViewMode:YOKO\r\n"), std::u16string::npos);
}

// Where each account writes is checked by the send tests; the outbox index is found by the
// path's "Outbox" part only.
TEST(MessageRecord, FolderIndexPath) {
    EXPECT_EQ(folderIndexPath(u"D:\\data\\box.mb\\MyOutbox\\a\\b.bmf"), u"D:\\data\\box.mb\\MyOutbox\\Folder.idx");
    EXPECT_EQ(folderIndexPath(u"D:\\data\\outbox\\mail.bmf"), u""); // the search is case-sensitive
}
