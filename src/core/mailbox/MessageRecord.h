#pragma once

#include "core/app/Clock.h"

#include <string>
#include <string_view>

// The one stored form of a mail, and the files it goes to.
namespace core::mailbox {

inline constexpr std::u16string_view ProgramVersion = u"0.5.3";
inline constexpr int BeckyTwoOutbox = 112;
inline constexpr int PluginHandOff = 200;

// 112 and 200 name the Becky! 2 outbox and the plug-in hand-off only while Becky! 2 is in use;
// under Becky! 1.26 they are mail folders like any other.
inline bool isBecky2Outbox(int accountNo, bool becky2) {
    return becky2 && accountNo == BeckyTwoOutbox;
}
inline bool isHandOff(int accountNo, bool becky2) {
    return becky2 && accountNo == PluginHandOff;
}

struct MessageFields {
    std::u16string sender;
    std::u16string destination;
    std::u16string bcc; // empty for no Bcc line
    std::u16string title;
    std::u16string body; // CR LF line breaks
};

// Header lines, empty line, body, "." - each line but the last ended by CR LF. A line break in a
// header value becomes a space: it would add a header or end the record early.
std::u16string messageRecord(const MessageFields& mail);
// The same with the date and view-mode lines the output log adds.
std::u16string logRecord(const MessageFields& mail, std::u16string_view dateTime, bool vertical);
// "2026/12/06 9:05:03"
std::u16string dateTimeText(const DateTime& t);
// What a write puts on disk: the record in CP932 and one CR LF after the terminator.
std::string recordBytes(std::u16string_view record);

// BeckyPath + "User" + number: the account's mail folder (Becky! 1.26).
std::u16string accountFolder(std::u16string_view beckyPath, int accountNo);
// The mailbox file a record for the account goes to.
std::u16string targetPath(std::u16string_view beckyPath, int accountNo, bool becky2, bool draft,
                          std::u16string_view programFolder);
// Becky! 2 rebuilds its outbox index when it is gone; empty when the path has no "Outbox\".
std::u16string folderIndexPath(std::u16string_view beckyPath);
void removeFolderIndex(std::u16string_view beckyPath);

} // namespace core::mailbox
