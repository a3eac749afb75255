#include "platform/Dir.h"

#include "platform/Paths.h"
#include "platform/PathsCase.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace platform {

std::vector<std::u16string> list(std::u16string_view pattern, bool includeFolders) {
    std::size_t slash = pattern.find_last_of(u"\\/");
    std::u16string_view folder = slash == std::u16string_view::npos ? std::u16string_view() : pattern.substr(0, slash);
    std::u16string_view namePattern = slash == std::u16string_view::npos ? pattern : pattern.substr(slash + 1);
    if (namePattern.empty())
        return {};
    if (namePattern == u"*.*") // names without a dot match it too
        namePattern = u"*";
    fs::path native = slash == 0 ? fs::path("/") : nativePath(folder);
    if (native.empty()) {
        if (!folder.empty())
            return {}; // a folder that names nothing here holds nothing
        native = ".";
    }

    std::vector<std::u16string> names;
    std::error_code ec;
    fs::directory_iterator it(native, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (!includeFolders && it->is_directory(typeError))
            continue;
        std::u16string name = fromNative(it->path().filename());
        if (wildcardMatch(namePattern, name))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(),
              [](const std::u16string& a, const std::u16string& b) { return compareNamesIgnoringCase(a, b) < 0; });
    return names;
}

bool fileExists(std::u16string_view path) {
    std::error_code ec;
    return fs::is_regular_file(nativePath(path), ec);
}

bool folderExists(std::u16string_view path) {
    std::error_code ec;
    return fs::is_directory(nativePath(path), ec);
}

bool removeFile(std::u16string_view path) {
    fs::path native = nativePath(path);
    std::error_code ec;
    if (fs::is_directory(native, ec))
        return false; // never removes a folder, even an empty one
    fs::remove(native, ec);
    return !fs::exists(fs::symlink_status(native, ec));
}

bool copyFile(std::u16string_view from, std::u16string_view to) {
    fs::path source = nativePath(from);
    std::error_code ec;
    if (!fs::is_regular_file(source, ec))
        return false;
#ifdef _WIN32
    // MinGW's copy_file reports "file exists" instead of overwriting.
    return CopyFileW(source.c_str(), nativePath(to).c_str(), FALSE) != 0;
#else
    return fs::copy_file(source, nativePath(to), fs::copy_options::overwrite_existing, ec) && !ec;
#endif
}

} // namespace platform
