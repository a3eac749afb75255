#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// The small file beside a file being appended to ("NAME.jnl") that lets the next append, or the
// next start, cut back a record a killed process left half-written.
namespace platform::journal {

// How many bytes on each side of the append point the journal keeps, to tell its own cut record
// from a file that Becky! has rewritten since.
inline constexpr std::size_t FingerprintBytes = 32;

struct Journal {
    std::uint64_t oldSize = 0, newSize = 0;
    std::optional<std::string> before, record; // the file's last bytes and the record's first
};

std::filesystem::path pathOf(const std::filesystem::path& native);

// Up to `count` bytes from `from`; fewer when the file is shorter or cannot be read.
std::string readRange(const std::filesystem::path& native, std::uint64_t from, std::size_t count);

// Writes the journal and flushes it to the disk; false (and no journal) on failure.
bool write(const std::filesystem::path& journal, const Journal& j);

// Cuts back the part of a record that a killed append left, then removes the journal. The
// caller holds the file's append lock. False when a cut was due and failed.
bool recover(const std::filesystem::path& native);

} // namespace platform::journal
