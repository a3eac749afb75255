#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

// The few low-level file operations the all-or-nothing writers need, one implementation per OS.
namespace platform::io {

// Opens for appending; `created` tells whether this call made the file. -1 on failure.
int openAppend(const std::filesystem::path& path, bool& created);
// Creates a fresh file beside the target (same folder, so a rename can replace the target),
// with the target's permissions when it exists. -1 on failure.
int createTempBeside(const std::filesystem::path& target, std::filesystem::path& tempPath);
long writeSome(int fd, const char* data, std::size_t size); // like write(2), retrying interrupts
std::optional<std::uint64_t> sizeOf(int fd);
bool syncFile(int fd);
bool truncateFile(int fd, std::uint64_t size);
// Takes this process's exclusive lock on an open file without waiting; false only when another
// open of it holds one (true, unlocked, where the file system has no locks). Advisory: reading and writing the file
// stay open to everyone. The lock goes with the close, or with the process.
bool tryLock(int fd);
bool closeFile(int fd);
bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to);
void syncFolder(const std::filesystem::path& folder); // best effort
void removePath(const std::filesystem::path& path);

} // namespace platform::io
