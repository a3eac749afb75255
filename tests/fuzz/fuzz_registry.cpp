// Wine's user.reg: any text parses; keys come out normalised, and the values Becky! is looked
// up by stay within what the file holds.
#include "FuzzSupport.h"

#include "platform/Registry.h"
#include "platform/RegistryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::string_view content = in.rest();
    const platform::RegHive hive = platform::parseWineRegistry(content);
    std::size_t total = 0;
    for (const auto& [key, values] : hive) {
        FUZZ_CHECK(platform::normalizeRegKey(key) == key);
        for (const auto& [name, value] : values) {
            const std::string ansi = platform::ansiBytes(value);
            total += name.size() + value.text.size() + value.data.size();
            FUZZ_CHECK(ansi.size() <= 2 * content.size() + 8);
        }
    }
    FUZZ_CHECK(total <= 4 * content.size() + 8);
    // The same through the file the editor reads, by the keys it asks for.
    fuzz::writeFile("wine/user.reg", content);
    const std::u16string home = platform::getRegString(u"Software\\RIMArts\\Rebecca\\Settings", u"HomeDir");
    const std::string folder = platform::regBytes(u"Software\\RIMArts\\Rebecca\\Users\\0", u"MailDirNo");
    FUZZ_CHECK(home.size() <= content.size() && folder.size() <= content.size() + 8);
    return 0;
}
