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
    constexpr DWORD limit = 1024;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, encodeCp932(key).c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return {};
    std::string name = encodeCp932(valueName);
    std::string bytes(limit, '\0');
    DWORD size = limit;
    LONG rc = RegQueryValueExA(handle, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(bytes.data()), &size);
    if (rc == ERROR_MORE_DATA) { // longer than the limit: read it whole, keep the first part
        bytes.assign(size, '\0');
        rc = RegQueryValueExA(handle, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(bytes.data()), &size);
    }
    RegCloseKey(handle);
    if (rc != ERROR_SUCCESS)
        return {};
    bytes.resize(size < limit ? size : limit);
    return bytes;
}

} // namespace platform
#endif
