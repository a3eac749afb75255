#pragma once

#include <string>
#include <string_view>
#include <vector>

// Becky.mil and Becky2.mil: where Becky! keeps its mailboxes, remembered between runs.
namespace core {

class Editor;

inline constexpr std::u16string_view Becky1PointerFile = u"Becky.mil";
inline constexpr std::u16string_view Becky2PointerFile = u"Becky2.mil";
inline constexpr std::u16string_view PlugInFile = u"Kotoplug.dll";

struct Becky1Account {
    std::u16string name;
    int accountNo = 0;
    std::u16string address;
};

// Applies Becky.mil: BeckyPath, the own address and the accounts with their addresses.
// Missing lines read as empty, an empty BeckyPath as "NO Becky"; an account line is the name,
// its last "," and the number, and the accounts end at a line without ",".
void applyBecky1Pointer(Editor& e, const std::vector<std::u16string>& lines);
// Applies Becky2.mil: BeckyPath, the own address and the account's address, with the one
// outbox entry (handed to the plug-in when it is present).
void applyBecky2Pointer(Editor& e, const std::vector<std::u16string>& lines, bool plugIn);

std::vector<std::u16string> becky1PointerLines(std::u16string_view beckyPath, std::u16string_view ownAddress,
                                               const std::vector<Becky1Account>& accounts);
bool writePointerFile(Editor& e, std::u16string_view name, const std::vector<std::u16string>& lines);

// The own-address menu entry n, created when it does not exist yet.
std::u16string& ownAddressCaption(Editor& e, std::size_t n);

} // namespace core
