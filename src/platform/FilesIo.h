#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

// The few low-level file operations the all-or-nothing writers need, one implementation per OS.
namespace platform::io {

// Opens a regular file for reading and appending, creating it when `create` and it is absent;
// `created` tells whether this call made it. -1 on failure, and for anything but a regular file
// (a FIFO is never waited on).
int openData(const std::filesystem::path& path, bool create, bool& created);
// Opens a regular file to read, neither following a link nor waiting on a FIFO; -1 for anything
// else. Others may still remove or rename the file while it is open.
int openRegular(const std::filesystem::path& path);
// Opens a regular file to write, creating it when absent, neither following a link nor waiting
// on a FIFO; -1 for anything else.
int createRegular(const std::filesystem::path& path);
// Creates a fresh file beside the target (same folder, so a rename can replace the target),
// with the target's permissions when it exists. It can be renamed while open. -1 on failure.
int createTempBeside(const std::filesystem::path& target, std::filesystem::path& tempPath);
long writeSome(int fd, const char* data, std::size_t size); // like write(2), retrying interrupts
// Like pread(2): up to `size` bytes from `offset`, 0 at the end, -1 on an error.
long readAt(int fd, std::uint64_t offset, char* data, std::size_t size);
std::optional<std::uint64_t> sizeOf(int fd);
bool syncFile(int fd);
bool truncateFile(int fd, std::uint64_t size);
// Takes this process's exclusive lock on an open file without waiting; false only when another
// open of it holds one (true, unlocked, where the file system has no locks). Advisory: reading and writing the file
// stay open to everyone. The lock goes with the close, or with the process.
bool tryLock(int fd);
// Whether the path still names the open file (nobody removed it or renamed another over it).
bool sameFile(int fd, const std::filesystem::path& path);
bool closeFile(int fd);
bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to);
// Whether a file that this process holds open can be removed, or renamed over. Windows refuses
// while any open of it does not share deletion, the CRT's included.
#ifdef _WIN32
inline constexpr bool canRemoveOpenFile = false;
#else
inline constexpr bool canRemoveOpenFile = true;
#endif
void syncFolder(const std::filesystem::path& folder); // best effort
void removePath(const std::filesystem::path& path);

} // namespace platform::io
