#pragma once

#include "support/HeldFile.h"

#include <filesystem>
#include <memory>
#include <string>

namespace test {

// A file that exists but cannot be read, even by an administrator: on Windows held open by
// another program that shares nothing; elsewhere a link to /proc/self/mem, a regular file whose
// first bytes fail with an I/O error.
class UnreadableFile {
public:
    explicit UnreadableFile(const std::filesystem::path& path);
    // Still what it was made: nobody replaced or wrote it.
    bool untouched() const;

private:
    std::filesystem::path m_path;
    std::unique_ptr<HeldFile> m_held;
    std::string m_original;
};

} // namespace test
