#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// Maps a Windows-style path ("C:\Becky!\User0") to a path of this machine. Elsewhere than on
// Windows: "\" becomes "/", a drive "X:" resolves through $WINEPREFIX/dosdevices/x:
// (default prefix ~/.wine), and each existing component is matched case-insensitively.
// ".." is resolved on the text, as Windows does. A UNC path ("\\server\share") or a
// drive-relative one ("C:name") names nothing here: the result is empty.
std::filesystem::path nativePath(std::u16string_view windowsPath);

#ifndef _WIN32
// $WINEPREFIX, or ~/.wine when it is unset; read anew on every call.
std::filesystem::path winePrefix();
#endif

// The folder of the running executable, as a core path (Windows style on Windows).
std::u16string programFolder();

// UTF-8 <-> UTF-16 for file names and environment values.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

// A native path (or name) as UTF-16, tolerating names that are not valid UTF-8.
std::u16string fromNative(const std::filesystem::path& path);

} // namespace platform
