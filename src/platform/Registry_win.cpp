#ifdef _WIN32
#include "platform/Registry.h"

#include "platform/RegistryFile.h"

#include <windows.h>

#include <string>

// HKEY_CURRENT_USER is defined with a C cast.
#ifdef __GNUC__
#pragma GCC diagnostic ignored "-Wold-style-cast"
#endif

namespace platform {

namespace {
std::wstring wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}
} // namespace

// Reads through the wide API and converts strings to CP932 here: the ANSI API would use the
// system's code page, which is not 932 outside Japan, and would turn Japanese names into "?".
std::string regBytes(std::u16string_view key, std::u16string_view valueName) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(key).c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return {};
    const std::wstring name = wide(valueName);
    RegValue value;
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG rc = ERROR_MORE_DATA;
    for (int attempt = 0; rc == ERROR_MORE_DATA && attempt < 4; ++attempt) { // the value may grow meanwhile
        rc = RegQueryValueExW(handle, name.c_str(), nullptr, &type, nullptr, &size);
        if (rc != ERROR_SUCCESS)
            break;
        value.data.assign(size, '\0');
        rc = RegQueryValueExW(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data.data()), &size);
    }
    RegCloseKey(handle);
    if (rc != ERROR_SUCCESS)
        return {};
    value.data.resize(size);
    value.type = type;
    return ansiBytes(value);
}

} // namespace platform
#endif
