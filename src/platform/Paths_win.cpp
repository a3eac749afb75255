#ifdef _WIN32
#include "platform/Paths.h"

#include <windows.h>

#include <vector>

namespace platform {

std::filesystem::path nativePath(std::u16string_view windowsPath) {
    return std::filesystem::path(std::wstring(windowsPath.begin(), windowsPath.end()));
}

std::u16string programFolder() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return u".";
        if (n < buf.size()) {
            std::u16string path(buf.begin(), buf.begin() + n);
            std::size_t slash = path.find_last_of(u"\\/");
            return slash == std::u16string::npos ? u"." : path.substr(0, slash);
        }
        buf.resize(buf.size() * 2);
    }
}

std::u16string documentFolder() {
    return {};
}

} // namespace platform
#endif
