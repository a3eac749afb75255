#pragma once

#include <filesystem>
#include <string>

namespace test {

// A fresh temporary folder, removed with everything in it at the end of the test. Except on
// Windows it also points $WINEPREFIX at its own "wine" subfolder, so no test touches the
// user's files. Relative names are UTF-8.
class TempFolder {
public:
    TempFolder();
    explicit TempFolder(const std::filesystem::path& base); // below base instead of the temporary folder
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::u16string core() const; // the folder as a core path
    std::filesystem::path winePrefix() const { return m_path / "wine"; }

    // Writes bytes to a file below the folder, creating its parents.
    void write(const std::string& relative, const std::string& bytes) const;
    std::string read(const std::string& relative) const; // empty when missing
    bool exists(const std::string& relative) const;
    // Copies a checked-in fixture tree (tests/data/NAME) into the Wine prefix.
    void useWineFixture(const std::string& name) const;

private:
    std::filesystem::path m_path;
    std::string m_oldPrefix;
    bool m_hadPrefix = false;
};

} // namespace test
