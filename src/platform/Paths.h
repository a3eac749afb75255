#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#ifndef _WIN32
struct stat;
#endif

namespace platform {

// Maps a Windows-style path ("C:\Becky!\User0") to a path of this machine. Elsewhere than on
// Windows: "\" becomes "/", a drive "X:" resolves through $WINEPREFIX/dosdevices/x:
// (default prefix ~/.wine), and each existing component is matched case-insensitively.
// ".." is resolved on the text, as Windows does. A UNC path ("\\server\share") or a
// drive-relative one ("C:name") names nothing here: the result is empty.
std::filesystem::path nativePath(std::u16string_view windowsPath);
#ifndef _WIN32
// nativePath, telling as well what lstat(2) says of the result (st_mode 0 when nothing is
// there), from the look it takes anyway.
std::filesystem::path nativePath(std::u16string_view windowsPath, struct ::stat& found);
#endif

#ifndef _WIN32
// $WINEPREFIX, or ~/.wine when it is unset; read anew on every call.
std::filesystem::path winePrefix();
#endif

// The folder the editor keeps its files in, as a core path (Windows style on Windows): the
// executable's own folder; elsewhere than on Windows, when it cannot write there (installed
// under /usr), programFolderFor()'s data folder. Everything that needs the program's files asks this.
std::u16string programFolder();

#ifndef _WIN32
// The choice behind programFolder() for an executable in exeFolder, given $HOME and
// $XDG_DATA_HOME (empty when unset): exeFolder when this process may write to it, else
// $XDG_DATA_HOME/kotori (a relative one does not count; default ~/.local/share/kotori),
// created with its missing parents, mode 0700, when it does not exist yet.
std::filesystem::path programFolderFor(const std::filesystem::path& exeFolder, std::string_view home,
                                       std::string_view xdgDataHome);
#endif

// Where an installed copy keeps its documents (readme.txt): "PREFIX/share/doc/kotori" for
// "PREFIX/bin/kotori". Empty on Windows, whose copies keep them in the program folder.
std::u16string documentFolder();

// UTF-8 <-> UTF-16 for file names and environment values.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

// A native path (or name) as UTF-16, tolerating names that are not valid UTF-8.
std::u16string fromNative(const std::filesystem::path& path);

} // namespace platform
