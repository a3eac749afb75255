#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// What tells one version of a file from another without reading it.
struct FileStamp {
    std::uint64_t device = 0, file = 0; // which file it is (none on Windows)
    std::uint64_t size = 0;
    std::int64_t modified = 0, changed = 0; // nanoseconds; changed is 0 where the system keeps none
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the regular file at a core path; nullopt when there is none.
std::optional<FileStamp> fileStamp(std::u16string_view path);

// Whether a file that still shows this stamp must still hold what was read after it was taken:
// not when it was written so lately that another write within the same tick of the file
// system's clock, at the same size, would leave the stamp as it is. (A writer that sets the
// old times back as well goes unseen.)
bool settled(const FileStamp& stamp);

} // namespace platform
