#include "FuzzSupport.h"

#include "platform/Paths.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace fuzz {

const fs::path& base();

namespace {

fs::path makeFolder() {
    std::error_code ec;
    const fs::path root = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    fs::path path = root / ("kotori-fuzz-" + std::to_string(::getpid()));
    fs::remove_all(path, ec); // left by an earlier process of the same number that did not end normally
    fs::create_directories(path / "wine");
    ::setenv("WINEPREFIX", (path / "wine").c_str(), 1);
    return path;
}

} // namespace

const fs::path& base() {
    static const fs::path path = makeFolder();
    // Registered once the path is whole, so that it runs before the path itself is destroyed.
    static const bool removedAtExit = [] {
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(base(), ignored);
        });
        return true;
    }();
    (void)removedAtExit;
    return path;
}

void check(bool holds, const char* what, const char* file, int line) {
    if (holds)
        return;
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort();
}

std::u16string Input::units() const {
    std::u16string out(m_size / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(m_data[2 * i] | m_data[2 * i + 1] << 8);
    return out;
}

const std::u16string& folder() {
    static const std::u16string path = platform::fromNative(base());
    return path;
}

std::string nativeFolder() {
    return base().string();
}

std::u16string writeFile(const std::string& relative, std::string_view bytes) {
    const fs::path path = base() / relative;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return platform::fromNative(path);
}

core::Answer FixedAnswers::question(std::u16string_view, std::u16string_view text, core::Buttons, core::Icon) {
    ++questions;
    lastQuestion = text;
    return m_answer;
}

HeadlessEditor::HeadlessEditor(core::Answer answer) : prompts(answer), editor(prompts, clock, folder()) {
    editor.setView(&view);
}

} // namespace fuzz
