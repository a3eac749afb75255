// Placeholder: exact-name checks only.
#include "platform/Dir.h"

#include "platform/Paths.h"

#include <system_error>

namespace platform {

std::vector<std::u16string> list(std::u16string_view, bool) { return {}; }

bool fileExists(std::u16string_view path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(nativePath(path), ec);
}

bool folderExists(std::u16string_view path) {
    std::error_code ec;
    return std::filesystem::is_directory(nativePath(path), ec);
}

bool removeFile(std::u16string_view path) {
    std::error_code ec;
    std::filesystem::remove(nativePath(path), ec);
    return !fileExists(path);
}

bool copyFile(std::u16string_view from, std::u16string_view to) {
    std::error_code ec;
    return std::filesystem::copy_file(nativePath(from), nativePath(to),
                                      std::filesystem::copy_options::overwrite_existing, ec);
}

} // namespace platform
