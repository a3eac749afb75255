// The path mapping: a drive path never leaves its drive, ".." never climbs above a root, and
// the wildcard match agrees with the plain definition.
#include "FuzzSupport.h"

#include "platform/Paths.h"
#include "platform/PathsCase.h"

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

void makeDrive() {
    static const bool made = [] {
        const fs::path wine = fs::path(fuzz::nativeFolder()) / "wine";
        fs::create_directories(wine / "drive_c/Becky!/User0");
        fs::create_directories(wine / "dosdevices");
        fs::create_directory_symlink("../drive_c", wine / "dosdevices/c:");
        return true;
    }();
    (void)made;
}

// "*" any run, "?" any one unit, other units alike but for case: by the table, in O(p n).
bool plainMatch(std::u16string_view pattern, std::u16string_view name) {
    std::vector<char> row(name.size() + 1, 0), next(name.size() + 1, 0);
    row[0] = 1;
    for (std::size_t j = 1; j <= name.size(); ++j)
        row[j] = 0;
    for (char16_t p : pattern) {
        next[0] = p == u'*' && row[0];
        for (std::size_t j = 1; j <= name.size(); ++j) {
            if (p == u'*')
                next[j] = row[j] || next[j - 1];
            else
                next[j] = row[j - 1] && (p == u'?' || platform::upcaseUnit(p) == platform::upcaseUnit(name[j - 1]));
        }
        row.swap(next);
    }
    return row[name.size()];
}

bool hasSurrogate(std::u16string_view text) {
    for (char16_t c : text)
        if (c >= 0xD800 && c <= 0xDFFF)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    makeDrive();
    const std::size_t split = in.byte();
    const std::u16string text = in.units();
    const std::u16string_view pattern =
        std::u16string_view(text).substr(0, std::min<std::size_t>(split % 64, text.size()));
    const std::u16string_view name = std::u16string_view(text).substr(pattern.size(), 64);
    FUZZ_CHECK(platform::wildcardMatch(pattern, name) == plainMatch(pattern, name));
    FUZZ_CHECK(platform::wildcardMatch(u"*", name));
    FUZZ_CHECK(platform::sameNameIgnoringCase(name, platform::upcase(name)));
    if (!hasSurrogate(text))
        FUZZ_CHECK(platform::fromUtf8(platform::toUtf8(text)) == text);

    // As a path below drive C: and below the root.
    const std::string drive = (fs::path(fuzz::nativeFolder()) / "wine/dosdevices/c:").string();
    for (const std::u16string& path : {u"C:\\" + text, u"c:\\Becky!\\" + text, u"\\" + text}) {
        const std::string native = platform::nativePath(path).string();
        if (native.empty())
            continue; // a path that names nothing here
        const bool onDrive = path[0] != u'\\';
        FUZZ_CHECK(native.compare(0, onDrive ? drive.size() : 1, onDrive ? drive : "/") == 0);
        for (const auto& part : fs::path(native))
            FUZZ_CHECK(part != "..");
    }
    (void)platform::nativePath(text); // relative, UNC or drive-relative: anything but a crash
    return 0;
}
