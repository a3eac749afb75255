#include "platform/Registry.h"

#include "platform/Cp932.h"

#ifndef _WIN32
#include "platform/Paths.h"
#include "platform/PathsCase.h"
#include "platform/RegistryFile.h"

#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <system_error>
#endif

namespace platform {

#ifndef _WIN32
namespace {

// Discovery asks for dozens of values in a row: parse the hive once per change of the file.
struct HiveCache {
    std::mutex mutex;
    std::filesystem::path path;
    std::filesystem::file_time_type stamp;
    std::uintmax_t size = 0;
    bool loaded = false;
    RegHive hive;
};

HiveCache& cache() {
    static HiveCache instance;
    return instance;
}

std::string lookUp(const RegHive& hive, std::u16string_view key, std::u16string_view valueName) {
    auto k = hive.find(normalizeRegKey(key));
    if (k == hive.end())
        return {};
    auto v = k->second.find(upcase(valueName));
    if (v == k->second.end())
        return {};
    return ansiBytes(v->second);
}

} // namespace

std::string regBytes(std::u16string_view key, std::u16string_view valueName) {
    namespace fs = std::filesystem;
    fs::path file = winePrefix() / "user.reg";
    std::error_code ec;
    fs::file_time_type stamp = fs::last_write_time(file, ec);
    std::uintmax_t size = ec ? 0 : fs::file_size(file, ec);
    HiveCache& c = cache();
    std::lock_guard lock(c.mutex);
    if (ec || !fs::is_regular_file(file, ec)) {
        c.loaded = false;
        c.hive.clear();
        return {};
    }
    if (!c.loaded || c.path != file || c.stamp != stamp || c.size != size) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        c.hive = parseWineRegistry(content.str());
        c.path = file;
        c.stamp = stamp;
        c.size = size;
        c.loaded = static_cast<bool>(in);
    }
    return lookUp(c.hive, key, valueName);
}
#endif

std::u16string getRegString(std::u16string_view key, std::u16string_view valueName) {
    std::string bytes = regBytes(key, valueName);
    std::size_t nul = bytes.find('\0');
    if (nul != std::string::npos)
        bytes.resize(nul);
    return decodeCp932(bytes);
}

} // namespace platform
