#include "TempFolder.h"

#include "System.h"

#include "platform/Paths.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace test {

namespace {
// Relative names are UTF-8 on every system, never the ANSI code page.
std::filesystem::path utf8(const std::string& relative) {
    return std::filesystem::path(std::u8string(relative.begin(), relative.end()));
}
} // namespace

TempFolder::TempFolder() : TempFolder(std::filesystem::temp_directory_path()) {}

TempFolder::TempFolder(const std::filesystem::path& base) {
    std::random_device rd;
    m_path = base / ("kotori-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(m_path / "wine");
    if constexpr (test::onWindows)
        return; // Windows has its own registry and drives: no Wine prefix to point elsewhere
    if (const char* old = std::getenv("WINEPREFIX")) {
        m_hadPrefix = true;
        m_oldPrefix = old;
    }
    test::setEnv("WINEPREFIX", winePrefix().string());
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
    if constexpr (test::onWindows)
        return;
    if (m_hadPrefix)
        test::setEnv("WINEPREFIX", m_oldPrefix);
    else
        test::unsetEnv("WINEPREFIX");
}

std::u16string TempFolder::core() const {
    return platform::fromNative(m_path);
}

void TempFolder::write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::path p = m_path / utf8(relative);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempFolder::read(const std::string& relative) const {
    std::ifstream in(m_path / utf8(relative), std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool TempFolder::exists(const std::string& relative) const {
    return std::filesystem::exists(m_path / utf8(relative));
}

void TempFolder::useWineFixture(const std::string& name) const {
    std::filesystem::copy(std::filesystem::path(KOTORI_TEST_DATA) / name, winePrefix(),
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

} // namespace test
