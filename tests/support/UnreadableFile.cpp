#include "support/UnreadableFile.h"

#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace test {

UnreadableFile::UnreadableFile(const fs::path& path) : m_path(path) {
#ifdef _WIN32
    std::ifstream in(path, std::ios::binary);
    m_original.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    in.close();
    m_held = std::make_unique<HeldFile>(path, HeldFile::Sharing::None);
#else
    fs::remove(path);
    fs::create_symlink("/proc/self/mem", path);
#endif
}

bool UnreadableFile::untouched() const {
#ifdef _WIN32
    m_held->release();
    std::ifstream in(m_path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return bytes == m_original;
#else
    std::error_code ec;
    return fs::is_symlink(m_path, ec) && fs::read_symlink(m_path, ec) == "/proc/self/mem";
#endif
}

} // namespace test
