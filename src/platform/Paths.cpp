#ifndef _WIN32
#include "platform/Paths.h"

#include "platform/PathsCase.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace platform {
namespace {

bool present(const fs::path& p) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

// The entry of the folder with that name, or else one whose name differs only in case;
// the name as asked when there is neither, so new files keep the case they were given.
fs::path child(const fs::path& folder, const std::string& name) {
    fs::path exact = folder / name;
    if (present(exact))
        return exact;
    std::u16string wanted = fromUtf8(name);
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    std::string best;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        if (sameNameIgnoringCase(fromUtf8(candidate), wanted) && (best.empty() || candidate < best))
            best = candidate;
    }
    return best.empty() ? exact : folder / best;
}

// Where drive "x:" points: the dosdevices link, or, where links cannot be stored, a plain
// file holding the link's target text.
fs::path driveRoot(char letter) {
    fs::path devices = winePrefix() / "dosdevices";
    char name[3] = {static_cast<char>(letter | 0x20), ':', 0};
    fs::path entry = child(devices, name);
    std::error_code ec;
    if (fs::is_symlink(entry, ec) || !fs::is_regular_file(entry, ec))
        return entry;
    std::ifstream in(entry, std::ios::binary);
    std::string target;
    std::getline(in, target);
    while (!target.empty() && (target.back() == '\r' || target.back() == ' ' || target.back() == '/'))
        target.pop_back();
    if (target.empty())
        return entry;
    fs::path t(target);
    return t.is_absolute() ? t : (devices / t).lexically_normal();
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

fs::path executableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

// The folder and its missing parents, each readable by the user alone (mail addresses live there).
void makePrivateFolder(const fs::path& folder) {
    std::vector<fs::path> missing;
    for (fs::path p = folder; !p.empty() && !present(p) && p != p.parent_path(); p = p.parent_path())
        missing.push_back(p);
    for (auto it = missing.rbegin(); it != missing.rend(); ++it)
        ::mkdir(it->c_str(), 0700); // a failure shows at the first write, which names its file
}

} // namespace

std::filesystem::path winePrefix() {
    // Read on every call: the prefix may change while the program runs (tests do it).
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return fs::path(prefix);
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : ".") / ".wine";
}

namespace {

// nativePath; when `found` is given it gets what lstat(2) says of the result, st_mode 0 when
// nothing is there.
fs::path mapPath(std::u16string_view windowsPath, struct stat* found) {
    if (found)
        found->st_mode = 0;
    std::string s = toUtf8(windowsPath);
    for (char& c : s)
        if (c == '\\')
            c = '/';
    // A share on another machine, or a folder relative to a drive's current folder, is nothing here.
    if (s.size() >= 2 && s[0] == '/' && s[1] == '/')
        return {};
    if (s.size() >= 2 && isLetter(s[0]) && s[1] == ':' && (s.size() == 2 || s[2] != '/'))
        return {};
    fs::path result;
    std::size_t pos = 0;
    if (s.size() >= 2 && isLetter(s[0]) && s[1] == ':') {
        result = driveRoot(s[0]);
        pos = 2;
    } else if (!s.empty() && s[0] == '/') {
        result = "/";
        pos = 1;
    }
    // ".." takes back the name before it as Windows does, without looking at the disk, so a
    // missing folder on the way does not matter; it never climbs above the root.
    std::vector<std::string> parts;
    while (pos < s.size()) {
        std::size_t end = s.find('/', pos);
        if (end == std::string::npos)
            end = s.size();
        std::string part = s.substr(pos, end - pos);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (result.empty())
                parts.push_back(part);
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        pos = end + 1;
    }
    // Most paths are spelled as they are on the disk: one look for the whole path then, and
    // the components looked up one by one only when it is missing. Put together as text: a
    // path object parses itself again on every append.
    std::string exact = result.native();
    bool climbs = false;
    for (const std::string& part : parts) {
        if (!exact.empty() && exact.back() != '/')
            exact += '/';
        exact += part;
        climbs = climbs || part == "..";
    }
    struct stat st {};
    if (!parts.empty() && !climbs && ::lstat(exact.c_str(), &st) == 0) {
        result = fs::path(std::move(exact));
        if (found)
            *found = st;
    } else {
        for (const std::string& part : parts)
            result = part == ".." ? result / part : child(result, part);
        if (found && !result.empty() && ::lstat(result.c_str(), &st) == 0)
            *found = st;
    }
    if (result.empty() && !s.empty())
        return "."; // "." or "a\..": the current folder
    if (!s.empty() && s.back() == '/' && !result.empty())
        result /= "";
    return result;
}

} // namespace

std::filesystem::path nativePath(std::u16string_view windowsPath) {
    return mapPath(windowsPath, nullptr);
}

std::filesystem::path nativePath(std::u16string_view windowsPath, struct ::stat& found) {
    return mapPath(windowsPath, &found);
}

std::filesystem::path programFolderFor(const std::filesystem::path& exeFolder, std::string_view home,
                                       std::string_view xdgDataHome) {
    if (::access(exeFolder.c_str(), W_OK | X_OK) == 0)
        return exeFolder;
    fs::path data;
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/')
        data = fs::path(xdgDataHome);
    else if (!home.empty())
        data = fs::path(home) / ".local" / "share";
    else
        return exeFolder; // nowhere else to go: the writes fail and say so
    data /= "kotori";
    makePrivateFolder(data);
    return data;
}

std::u16string programFolder() {
    const fs::path exe = executableFolder();
    if (exe.empty())
        return u".";
    std::string home;
    if (const char* value = std::getenv("HOME"); value && *value)
        home = value;
    else if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        home = user->pw_dir;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    return fromNative(programFolderFor(exe, home, xdg ? xdg : ""));
}

std::u16string documentFolder() {
    const fs::path exe = executableFolder();
    return exe.empty() ? std::u16string() : fromNative(exe.parent_path() / "share" / "doc" / "kotori");
}

} // namespace platform
#endif
