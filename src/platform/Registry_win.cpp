#ifdef _WIN32
#include "platform/Registry.h"

#include "platform/Cp932.h"

#include <windows.h>

// HKEY_CURRENT_USER is defined with a C cast.
#ifdef __GNUC__
#pragma GCC diagnostic ignored "-Wold-style-cast"
#endif

namespace platform {

std::string regBytes(std::u16string_view key, std::u16string_view valueName) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, encodeCp932(key).c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return {};
    std::string name = encodeCp932(valueName);
    std::string bytes(1024, '\0');
    DWORD size = static_cast<DWORD>(bytes.size());
    LONG rc = RegQueryValueExA(handle, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(bytes.data()), &size);
    // Longer than the buffer: read it whole, again if it grew meanwhile.
    for (int tries = 0; rc == ERROR_MORE_DATA && tries < 8; ++tries) {
        bytes.assign(size, '\0');
        rc = RegQueryValueExA(handle, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(bytes.data()), &size);
    }
    RegCloseKey(handle);
    if (rc != ERROR_SUCCESS)
        return {};
    bytes.resize(size < bytes.size() ? size : bytes.size());
    return bytes;
}

} // namespace platform
#endif
