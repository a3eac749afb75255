#include "TempFolder.h"

#include "platform/Paths.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace test {

TempFolder::TempFolder() : TempFolder(std::filesystem::temp_directory_path()) {}

TempFolder::TempFolder(const std::filesystem::path& base) {
    std::random_device rd;
    m_path = base / ("kotori-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(m_path / "wine");
    if (const char* old = std::getenv("WINEPREFIX")) {
        m_hadPrefix = true;
        m_oldPrefix = old;
    }
    setenv("WINEPREFIX", winePrefix().c_str(), 1);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
    if (m_hadPrefix)
        setenv("WINEPREFIX", m_oldPrefix.c_str(), 1);
    else
        unsetenv("WINEPREFIX");
}

std::u16string TempFolder::core() const {
    return platform::fromUtf8(m_path.string());
}

void TempFolder::write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::path p = m_path / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempFolder::read(const std::string& relative) const {
    std::ifstream in(m_path / relative, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool TempFolder::exists(const std::string& relative) const {
    return std::filesystem::exists(m_path / relative);
}

void TempFolder::useWineFixture(const std::string& name) const {
    std::filesystem::copy(std::filesystem::path(KOTORI_TEST_DATA) / name, winePrefix(),
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

} // namespace test
