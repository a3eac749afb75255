#include "platform/FileStamp.h"

#include "platform/Paths.h"

#include <chrono>
#include <limits>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace platform {

namespace {

// The coarsest clock a file system keeps times in (FAT's two seconds), and some more.
constexpr std::int64_t TickNs = 3'000'000'000;

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

#ifdef _WIN32
// FILETIME counts 100 ns from 1601; the stamp counts from 1970.
std::int64_t fromFileTime(const FILETIME& t) {
    const auto ticks = (static_cast<std::int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    return (ticks - 116444736000000000) * 100;
}
#endif

} // namespace

std::optional<FileStamp> fileStamp(std::u16string_view path) {
    FileStamp stamp;
#ifdef _WIN32
    const std::filesystem::path native = nativePath(path);
    if (native.empty())
        return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(native.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.modified = fromFileTime(data.ftLastWriteTime);
    stamp.changed = fromFileTime(data.ftCreationTime);
    // These are a link's own times, not its target's: a time that never settles has it read.
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        stamp.modified = std::numeric_limits<std::int64_t>::max();
#else
    struct stat st {};
    const std::filesystem::path native = nativePath(path, st); // its look at the path is the stamp's
    if (S_ISLNK(st.st_mode) && ::stat(native.c_str(), &st) != 0)
        return std::nullopt;
    if (!S_ISREG(st.st_mode))
        return std::nullopt;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.file = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    stamp.changed = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
#endif
    return stamp;
}

bool settled(const FileStamp& stamp) {
    // Every write sets the write time to the clock's, so once that is past, any write shows.
    // A time ahead of the clock (another machine's, on a share) never counts as settled.
    return stamp.modified < nowNs() - TickNs;
}

} // namespace platform
