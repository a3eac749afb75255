#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The small file beside a file being appended to ("NAME.jnl") that lets the next append, or the
// next start, cut back a record a killed process left half-written.
namespace platform::journal {

// How many of the file's last bytes before the append point the journal keeps, to tell its own
// cut record from a file that Becky! has rewritten since.
inline constexpr std::size_t FingerprintBytes = 32;

struct Journal {
    std::uint64_t oldSize = 0, newSize = 0;
    std::string before; // the file's last bytes before the append point, up to FingerprintBytes
};

std::filesystem::path pathOf(const std::filesystem::path& native);

// Writes the journal of an append of `record` (which it keeps too) and flushes it to the disk;
// false (and no journal) on failure.
bool write(const std::filesystem::path& journal, const Journal& j, std::string_view record);

// Takes back what reached the file (open as `fd`, its lock held) of an append of `record` that
// failed: the file is cut back to the old size when all that follows is a start of the record,
// and else left alone. False when that cut was due and failed.
bool takeBack(int fd, const Journal& j, std::string_view record);

// Cuts back the part of a record that a killed append left, then removes the journal. The
// caller holds the file's lock on `fd` (open for reading and writing), or passes -1 when the
// file does not exist. False when a cut was due and failed.
bool recover(const std::filesystem::path& native, int fd);

} // namespace platform::journal
