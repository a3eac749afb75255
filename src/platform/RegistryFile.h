#pragma once

#include <map>
#include <string>
#include <string_view>

// Wine's text form of a registry hive (user.reg), read into memory.
namespace platform {

struct RegValue {
    unsigned type = 0;   // REG_SZ = 1, REG_EXPAND_SZ = 2, REG_BINARY = 3, REG_DWORD = 4, REG_MULTI_SZ = 7, ...
    bool isText = false; // written as a quoted string: `text` holds it, else `data` holds the bytes
    std::u16string text;
    std::string data;
};

// Keys and value names upper-cased (see upcase), key parts joined by single backslashes;
// the default value is named "".
using RegKey = std::map<std::u16string, RegValue>;
using RegHive = std::map<std::u16string, RegKey>;

// Never fails: malformed lines and values are skipped.
RegHive parseWineRegistry(std::string_view content);

// "Software\\RIMArts\\\Rebecca\" → "SOFTWARE\RIMARTS\REBECCA".
std::u16string normalizeRegKey(std::u16string_view key);

// The value as the ANSI registry API gives it on a Japanese system.
std::string ansiBytes(const RegValue& value);

} // namespace platform
