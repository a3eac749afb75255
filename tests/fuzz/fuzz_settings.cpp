// Kotori.ini: whatever the file holds, the editor reads it and writes a file of bounded size;
// from the second write on, what is read is written back unchanged. (Not from the first: an
// unchecked "Sei6" keeps its limit only as the preset, and the line stores the limit in force.)
#include "FuzzSupport.h"

#include "platform/Files.h"

namespace {

// A written file asks nothing when read (an odd one may ask for the missing limit).
std::string readAndWriteBack(const std::u16string& path, bool written) {
    fuzz::HeadlessEditor h;
    h.editor.loadSettings();
    FUZZ_CHECK(h.editor.requestClose());
    FUZZ_CHECK(!written || (h.prompts.questions == 0 && h.prompts.messages == 0));
    return platform::readBytes(path).value_or("<unreadable>");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::u16string path = fuzz::writeFile("Kotori.ini", in.rest());
    const std::string first = readAndWriteBack(path, false);
    FUZZ_CHECK(first.size() < 2 * size + 4096);
    const std::string second = readAndWriteBack(path, true);
    FUZZ_CHECK(readAndWriteBack(path, true) == second);
    return 0;
}
