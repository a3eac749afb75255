#ifndef _WIN32
#include "platform/FilesIo.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

namespace platform::io {

namespace {

// The descriptor when it is a regular file's, else closed and -1.
int onlyRegular(int fd) {
    struct stat st {};
    if (fd < 0 || (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)))
        return fd;
    ::close(fd);
    errno = EINVAL;
    return -1;
}

} // namespace

int openData(const std::filesystem::path& path, bool create, bool& created) {
    created = false;
    // O_NONBLOCK: a FIFO in the file's place opens at once, and is then refused.
    constexpr int flags = O_RDWR | O_APPEND | O_CLOEXEC | O_NONBLOCK;
    int fd = ::open(path.c_str(), flags);
    if (fd < 0 && errno == ENOENT && create) {
        fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
        if (fd >= 0)
            created = true;
        else if (errno == EEXIST) // someone else created it meanwhile
            fd = ::open(path.c_str(), flags);
    }
    return onlyRegular(fd);
}

int openRegular(const std::filesystem::path& path) {
    return onlyRegular(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
}

int createRegular(const std::filesystem::path& path) {
    return onlyRegular(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0666));
}

int createTempBeside(const std::filesystem::path& target, std::filesystem::path& tempPath) {
    struct stat old {};
    bool hasOld = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", random());
        tempPath = target;
        tempPath += suffix;
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CLOEXEC | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            if (hasOld)
                ::fchmod(fd, old.st_mode & 07777);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

long writeSome(int fd, const char* data, std::size_t size) {
    for (;;) {
        ssize_t n = ::write(fd, data, size);
        if (n >= 0 || errno != EINTR)
            return static_cast<long>(n);
    }
}

long readAt(int fd, std::uint64_t offset, char* data, std::size_t size) {
    for (;;) {
        ssize_t n = ::pread(fd, data, size, static_cast<off_t>(offset));
        if (n >= 0 || errno != EINTR)
            return static_cast<long>(n);
    }
}

std::optional<std::uint64_t> sizeOf(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

bool syncFile(int fd) {
    for (;;) {
        if (::fsync(fd) == 0)
            return true;
        if (errno != EINTR)
            break;
    }
    // A pipe or a device holds nothing to flush and says so; a regular file that cannot be
    // flushed may lose what was written, whatever its file system answers.
    const bool cannotSync = errno == EINVAL || errno == EROFS;
    struct stat st {};
    return cannotSync && ::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode);
}

bool truncateFile(int fd, std::uint64_t size) {
    return ::ftruncate(fd, static_cast<off_t>(size)) == 0;
}

bool tryLock(int fd) {
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EINTR)
            return errno != EWOULDBLOCK; // a file system without locks: go on unlocked
    }
}

bool sameFile(int fd, const std::filesystem::path& path) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

bool closeFile(int fd) {
    return ::close(fd) == 0;
}

bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

void syncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void removePath(const std::filesystem::path& path) {
    ::unlink(path.c_str());
}

} // namespace platform::io
#endif
