#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace test {

// Writes values into the current user's registry as Becky! would. On Windows through the
// registry API, below a scratch key that stands in for HKEY_CURRENT_USER in this process only
// (so tests running side by side never see each other's values, and the real hive stays
// untouched); elsewhere into the temporary Wine prefix's user.reg, the way Wine writes it.
class TestRegistry {
public:
    explicit TestRegistry(const std::filesystem::path& winePrefix);
    ~TestRegistry();
    TestRegistry(const TestRegistry&) = delete;
    TestRegistry& operator=(const TestRegistry&) = delete;

    void setString(std::u16string_view key, std::u16string_view name, std::u16string_view value);
    void setDword(std::u16string_view key, std::u16string_view name, std::uint32_t value);
    void setBinary(std::u16string_view key, std::u16string_view name, std::string_view bytes);

private:
#ifdef _WIN32
    void set(std::u16string_view key, std::u16string_view name, unsigned type, const void* data, std::size_t size);
    std::wstring m_scratch;
    void* m_root = nullptr;
#else
    void set(std::u16string_view key, std::u16string_view name, const std::string& data);
    std::filesystem::path m_hive;
    std::map<std::u16string, std::map<std::u16string, std::string>> m_keys; // values in user.reg's text form
#endif
};

} // namespace test
