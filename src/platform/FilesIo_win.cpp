#ifdef _WIN32
#include "platform/FilesIo.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

namespace platform::io {

namespace {

HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

// The descriptor when it is a regular file's, else closed and -1.
int onlyRegular(int fd) {
    struct _stat64 st {};
    if (fd < 0 || (_fstat64(fd, &st) == 0 && (st.st_mode & _S_IFMT) == _S_IFREG))
        return fd;
    _close(fd);
    errno = EINVAL;
    return -1;
}

int openWide(const std::filesystem::path& path, int flags) {
    int fd = -1;
    if (_wsopen_s(&fd, path.c_str(), flags | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0)
        return -1;
    return fd;
}

// A descriptor on a handle that shares everything, deletion and renaming included.
int openShared(const std::filesystem::path& path, DWORD access, DWORD disposition, int flags) {
    const HANDLE handle = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = GetLastError() == ERROR_FILE_EXISTS ? EEXIST : EACCES;
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
    if (fd < 0)
        CloseHandle(handle);
    return fd;
}

} // namespace

int openData(const std::filesystem::path& path, bool create, bool& created) {
    created = false;
    int fd = openWide(path, _O_RDWR | _O_APPEND);
    if (fd < 0 && errno == ENOENT && create) {
        fd = openWide(path, _O_RDWR | _O_APPEND | _O_CREAT | _O_EXCL);
        if (fd >= 0)
            created = true;
        else if (errno == EEXIST)
            fd = openWide(path, _O_RDWR | _O_APPEND);
    }
    return onlyRegular(fd);
}

int openRegular(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return -1;
    return onlyRegular(openShared(path, GENERIC_READ, OPEN_EXISTING, _O_RDONLY));
}

int createRegular(const std::filesystem::path& path) {
    return onlyRegular(openWide(path, _O_WRONLY | _O_CREAT));
}

int createTempBeside(const std::filesystem::path& target, std::filesystem::path& tempPath) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t suffix[32];
        swprintf(suffix, 32, L".%08x.tmp", random());
        tempPath = target;
        tempPath += suffix;
        // Shared for deletion, so that the rename over the target works while it is still open.
        int fd = openShared(tempPath, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, 0);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

long writeSome(int fd, const char* data, std::size_t size) {
    unsigned int chunk = size > 0x40000000u ? 0x40000000u : static_cast<unsigned int>(size);
    return _write(fd, data, chunk);
}

long readAt(int fd, std::uint64_t offset, char* data, std::size_t size) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    if (ReadFile(handleOf(fd), data, chunk, &read, &at))
        return static_cast<long>(read);
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

std::optional<std::uint64_t> sizeOf(int fd) {
    struct _stat64 st {};
    if (_fstat64(fd, &st) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

bool syncFile(int fd) {
    return _commit(fd) == 0;
}

bool truncateFile(int fd, std::uint64_t size) {
    return _chsize_s(fd, static_cast<__int64>(size)) == 0;
}

bool tryLock(int fd) {
    const HANDLE handle = handleOf(fd);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    // One byte far past any data: a byte-range lock on Windows also stops others reading it.
    OVERLAPPED beyond{};
    beyond.OffsetHigh = 0x40000000;
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &beyond))
        return true;
    return GetLastError() != ERROR_LOCK_VIOLATION; // a file system without locks: go on unlocked
}

bool sameFile(int fd, const std::filesystem::path& path) {
    BY_HANDLE_FILE_INFORMATION open{}, named{};
    if (!GetFileInformationByHandle(handleOf(fd), &open))
        return false;
    const HANDLE handle =
        CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool got = GetFileInformationByHandle(handle, &named);
    CloseHandle(handle);
    return got && open.dwVolumeSerialNumber == named.dwVolumeSerialNumber &&
           open.nFileIndexHigh == named.nFileIndexHigh && open.nFileIndexLow == named.nFileIndexLow;
}

bool closeFile(int fd) {
    return _close(fd) == 0;
}

bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    // Windows refuses to replace a read-only file; Wine replaces it. Refuse on both.
    DWORD attributes = GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void syncFolder(const std::filesystem::path&) {} // MOVEFILE_WRITE_THROUGH already flushed the rename

void removePath(const std::filesystem::path& path) {
    DeleteFileW(path.c_str());
}

} // namespace platform::io
#endif
