#include "core/app/PointerFiles.h"

#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "platform/Files.h"

namespace core {

namespace {

std::u16string lineAt(const std::vector<std::u16string>& lines, std::size_t i) {
    return i < lines.size() ? lines[i] : std::u16string();
}

// The leading whole number of the text, 0 when there is none (as "112" or " 5abc" read).
int leadingNumber(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9' && value < 1000000000; ++i)
        value = value * 10 + (text[i] - u'0');
    return static_cast<int>(negative ? -value : value);
}

// An empty first line would make every Becky! path relative to the working folder.
std::u16string beckyPathOf(const std::vector<std::u16string>& lines) {
    std::u16string path = lineAt(lines, 0);
    return path.empty() ? std::u16string(NoBecky) : path;
}

} // namespace

std::u16string& ownAddressCaption(Editor& e, std::size_t n) {
    while (e.s.OutAdr.size() <= n)
        e.s.OutAdr.emplace_back();
    return e.s.OutAdr[n].caption;
}

void applyBecky1Pointer(Editor& e, const std::vector<std::u16string>& lines) {
    e.BeckyPath = beckyPathOf(lines);
    e.Becky2InUse = false;
    e.s.OutAdr[0].caption = lineAt(lines, 1);
    std::size_t n = 1;
    for (std::size_t i = 2; i < lines.size(); i += 2, ++n) {
        const std::u16string& account = lines[i];
        // The number follows the last ",": an account name may hold one itself.
        const std::size_t comma = account.rfind(u',');
        if (comma == std::u16string::npos)
            break;
        e.s.Combo2.items.push_back({account.substr(0, comma), leadingNumber(account.substr(comma + 1))});
        ownAddressCaption(e, n) = lineAt(lines, i + 1);
    }
}

void applyBecky2Pointer(Editor& e, const std::vector<std::u16string>& lines, bool plugIn) {
    e.BeckyPath = beckyPathOf(lines);
    e.Becky2InUse = true;
    e.s.OutAdr[0].caption = lineAt(lines, 1);
    e.AccountAddress = lineAt(lines, 2);
    ownAddressCaption(e, 1) = e.AccountAddress;
    // 200 hands the mail to the plug-in instead of the outbox file.
    e.s.Combo2.items.push_back({u"B2送信箱", plugIn ? 200 : 112});
    e.s.TotyuuSave.enabled = false;
    e.s.ReadingBecky[0].enabled = false;
    e.s.Command2.enabled = false;
    e.s.accountIndex = 0;
}

std::vector<std::u16string> becky1PointerLines(std::u16string_view beckyPath, std::u16string_view ownAddress,
                                               const std::vector<Becky1Account>& accounts) {
    std::vector<std::u16string> lines{std::u16string(beckyPath), std::u16string(ownAddress)};
    for (const Becky1Account& a : accounts) {
        lines.push_back(a.name + u"," + decimal(a.accountNo));
        lines.push_back(a.address);
    }
    return lines;
}

bool writePointerFile(Editor& e, std::u16string_view name, const std::vector<std::u16string>& lines) {
    // A line break inside a value would shift every line after it.
    std::vector<std::u16string> single;
    single.reserve(lines.size());
    for (const std::u16string& line : lines)
        single.push_back(oneLine(line));
    return platform::replaceFile(e.programFile(name), platform::joinLines(single));
}

} // namespace core
