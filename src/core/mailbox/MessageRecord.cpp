#include "core/mailbox/MessageRecord.h"

#include "core/app/Strings.h"
#include "platform/Cp932.h"
#include "platform/Dir.h"

namespace core::mailbox {

namespace {

constexpr std::u16string_view CrLf = u"\r\n";

std::u16string header(const MessageFields& mail) {
    std::u16string h;
    auto line = [&h](std::u16string_view a, std::u16string_view b = {}) {
        h += a;
        h += oneLine(b);
        h += CrLf;
    };
    line(u"From:", mail.sender);
    line(u"To:", mail.destination);
    if (!mail.bcc.empty())
        line(u"Bcc:", mail.bcc);
    line(u"Subject:", mail.title);
    line(u"X-Priority:3");
    line(u"X-imodeMailEditer:Kotoribin Plus Ver.", ProgramVersion);
    line(u"Content-Type: text/plain; charset=shift_jis");
    line(u"Content-Transfer-Encoding: 8bit");
    line(u"Status:RW");
    return h;
}

std::u16string withBody(std::u16string head, std::u16string_view body) {
    head += CrLf;
    head += body;
    head += CrLf;
    head += u'.';
    return head;
}

std::u16string twoDigits(int v) {
    std::u16string s = decimal(v);
    return s.size() < 2 ? u"0" + s : s;
}

} // namespace

std::u16string messageRecord(const MessageFields& mail) {
    return withBody(header(mail), mail.body);
}

std::u16string logRecord(const MessageFields& mail, std::u16string_view dateTime, bool vertical) {
    std::u16string h = header(mail);
    h += u"X-Date:";
    h += oneLine(dateTime);
    h += CrLf;
    h += vertical ? u"X-ViewMode:TATE" : u"X-ViewMode:YOKO";
    h += CrLf;
    return withBody(std::move(h), mail.body);
}

std::u16string dateTimeText(const DateTime& t) {
    return decimal(t.year) + u"/" + twoDigits(t.month) + u"/" + twoDigits(t.day) + u" " + decimal(t.hour) + u":" +
           twoDigits(t.minute) + u":" + twoDigits(t.second);
}

std::string recordBytes(std::u16string_view record) {
    std::string bytes = platform::encodeCp932(record);
    bytes += "\r\n";
    return bytes;
}

std::u16string accountFolder(std::u16string_view beckyPath, int accountNo) {
    return std::u16string(beckyPath) + u"User" + decimal(accountNo);
}

std::u16string targetPath(std::u16string_view beckyPath, int accountNo, bool becky2, bool draft,
                          std::u16string_view programFolder) {
    if (draft)
        return accountFolder(beckyPath, accountNo) + u"\\OutBox\\Draft.mbx";
    if (isBecky2Outbox(accountNo, becky2))
        return std::u16string(beckyPath);
    if (isHandOff(accountNo, becky2))
        return std::u16string(programFolder) + u"\\kotori.dat";
    return accountFolder(beckyPath, accountNo) + u"\\OutBox.mbx";
}

std::u16string folderIndexPath(std::u16string_view beckyPath) {
    std::size_t box = beckyPath.find(u"Outbox");
    if (box == std::u16string_view::npos)
        return {};
    std::size_t sep = beckyPath.find(u'\\', box);
    if (sep == std::u16string_view::npos)
        return {};
    return std::u16string(beckyPath.substr(0, sep + 1)) + u"Folder.idx";
}

void removeFolderIndex(std::u16string_view beckyPath) {
    std::u16string index = folderIndexPath(beckyPath);
    if (!index.empty() && platform::fileExists(index))
        platform::removeFile(index);
}

} // namespace core::mailbox
