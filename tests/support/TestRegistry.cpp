#include "TestRegistry.h"

#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>

#ifdef _WIN32
#include <windows.h>

// HKEY_CURRENT_USER is defined with a C cast.
#ifdef __GNUC__
#pragma GCC diagnostic ignored "-Wold-style-cast"
#endif
#endif

namespace test {

#ifdef _WIN32

namespace {
std::wstring wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}
} // namespace

TestRegistry::TestRegistry(const std::filesystem::path&) {
    std::random_device random;
    m_scratch = L"Software\\KotoriTests\\" + std::to_wstring(random()) + std::to_wstring(GetCurrentProcessId());
    HKEY root = nullptr;
    LONG rc =
        RegCreateKeyExW(HKEY_CURRENT_USER, m_scratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root, nullptr);
    EXPECT_EQ(rc, ERROR_SUCCESS) << "cannot create the scratch key";
    if (rc != ERROR_SUCCESS)
        return;
    m_root = root;
    EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, root), ERROR_SUCCESS);
}

TestRegistry::~TestRegistry() {
    if (!m_root)
        return;
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(static_cast<HKEY>(m_root));
    RegDeleteTreeW(HKEY_CURRENT_USER, m_scratch.c_str());
}

void TestRegistry::set(std::u16string_view key, std::u16string_view name, unsigned type, const void* data,
                       std::size_t size) {
    HKEY handle = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, wide(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(
        RegSetValueExW(handle, wide(name).c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)),
        ERROR_SUCCESS);
    RegCloseKey(handle);
}

void TestRegistry::setString(std::u16string_view key, std::u16string_view name, std::u16string_view value) {
    std::u16string stored(value);
    set(key, name, REG_SZ, stored.c_str(), (stored.size() + 1) * sizeof(char16_t));
}

void TestRegistry::setDword(std::u16string_view key, std::u16string_view name, std::uint32_t value) {
    set(key, name, REG_DWORD, &value, sizeof value);
}

void TestRegistry::setBinary(std::u16string_view key, std::u16string_view name, std::string_view bytes) {
    set(key, name, REG_BINARY, bytes.data(), bytes.size());
}

#else

namespace {

std::string regText(std::u16string_view text) {
    std::string out = "\"";
    for (char c : platform::toUtf8(text)) {
        if (c == '\n' || c == '\r') { // one value a line: line breaks are escaped
            out += c == '\n' ? "\\n" : "\\r";
            continue;
        }
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

std::string hexList(std::string_view bytes) {
    std::string out;
    for (unsigned char b : bytes) {
        char part[4];
        std::snprintf(part, sizeof part, "%02x,", b);
        out += part;
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

} // namespace

TestRegistry::TestRegistry(const std::filesystem::path& winePrefix) : m_hive(winePrefix / "user.reg") {}

TestRegistry::~TestRegistry() = default;

void TestRegistry::set(std::u16string_view key, std::u16string_view name, const std::string& data) {
    m_keys[std::u16string(key)][std::u16string(name)] = data;
    std::string text = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n";
    for (const auto& [k, values] : m_keys) {
        std::string heading = platform::toUtf8(k);
        text += "\n[";
        for (char c : heading)
            text += c == '\\' ? std::string("\\\\") : std::string(1, c);
        text += "] 1796587634\n";
        for (const auto& [n, v] : values)
            text += (n.empty() ? std::string("@") : regText(n)) + "=" + v + "\n";
    }
    std::ofstream(m_hive, std::ios::binary | std::ios::trunc) << text;
}

void TestRegistry::setString(std::u16string_view key, std::u16string_view name, std::u16string_view value) {
    set(key, name, regText(value));
}

void TestRegistry::setDword(std::u16string_view key, std::u16string_view name, std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    set(key, name, std::string("dword:") + text);
}

void TestRegistry::setBinary(std::u16string_view key, std::u16string_view name, std::string_view bytes) {
    set(key, name, "hex:" + hexList(bytes));
}

#endif

} // namespace test
