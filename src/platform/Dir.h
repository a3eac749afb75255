#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Names (not paths) matching the last component of the pattern, where "*" matches any run
// case-insensitively; folders only listed when asked. Case-insensitive ascending, as NTFS gives them.
std::vector<std::u16string> list(std::u16string_view pattern, bool includeFolders);

bool fileExists(std::u16string_view path); // files only
bool folderExists(std::u16string_view path);
bool removeFile(std::u16string_view path); // true when the file is gone afterwards
bool copyFile(std::u16string_view from, std::u16string_view to);

} // namespace platform
