// Kotori.ini: whatever the file holds, the editor reads it and writes back a file that reads
// and writes back unchanged.
#include "FuzzSupport.h"

#include "platform/Files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::u16string path = fuzz::writeFile("Kotori.ini", in.rest());
    std::string first;
    {
        fuzz::HeadlessEditor h;
        h.editor.loadSettings();
        FUZZ_CHECK(h.editor.requestClose());
        first = platform::readBytes(path).value_or("<unreadable>");
    }
    FUZZ_CHECK(first.size() < 2 * size + 4096);
    fuzz::HeadlessEditor h;
    h.editor.loadSettings();
    FUZZ_CHECK(h.editor.requestClose());
    FUZZ_CHECK(platform::readBytes(path).value_or("<unreadable>") == first);
    FUZZ_CHECK(h.prompts.questions == 0 && h.prompts.messages == 0);
    return 0;
}
