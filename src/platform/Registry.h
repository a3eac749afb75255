#pragma once

#include <string>
#include <string_view>

// Read-only access to the current user's registry hive. On Windows the registry itself;
// elsewhere Wine's $WINEPREFIX/user.reg. Missing keys or values read as empty.
namespace platform {

// The whole value as RegQueryValueExA gives it on a Japanese system: a string as its CP932
// bytes plus NUL, a DWORD as 4 little-endian bytes, binary as is.
std::string regBytes(std::u16string_view key, std::u16string_view valueName);

// The value's bytes decoded from CP932, up to the first NUL.
std::u16string getRegString(std::u16string_view key, std::u16string_view valueName);

} // namespace platform
