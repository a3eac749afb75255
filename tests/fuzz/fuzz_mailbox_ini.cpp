// Becky! 2's Mailbox.ini: the set-up proposes the address it finds there, whatever the file
// holds, and writes a pointer file.
#include "FuzzSupport.h"

#include "platform/Cp932.h"
#include "platform/Files.h"

#include <filesystem>

namespace {

void makeBecky2() {
    static const bool made = [] {
        fuzz::writeFile("wine/user.reg", "WINE REGISTRY Version 2\n\n[Software\\\\RIMArts\\\\B2\\\\Settings] 1\n"
                                         "\"DataDir\"=\"C:\\\\Becky2\\\\\"\n\n");
        fuzz::writeFile("wine/drive_c/Becky2/Main.mb/!!!!Outbox/0001.bmf", "");
        const std::filesystem::path devices = std::filesystem::path(fuzz::nativeFolder()) / "wine/dosdevices";
        std::filesystem::create_directories(devices);
        std::filesystem::create_directory_symlink("../drive_c", devices / "c:");
        return true;
    }();
    (void)made;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    makeBecky2();
    const std::string_view content = in.rest();
    fuzz::writeFile("wine/drive_c/Becky2/Main.mb/Mailbox.ini", content);
    fuzz::HeadlessEditor h(core::Answer::Yes);
    h.editor.discoverBecky();
    // The last question offers the address: "…は、[" proposal "]でよろしいですか？".
    const std::u16string& asked = h.prompts.lastQuestion;
    const std::size_t open = asked.find(u'['), close = asked.rfind(u']');
    FUZZ_CHECK(open != std::u16string::npos && close != std::u16string::npos && open < close);
    const std::u16string proposal = asked.substr(open + 1, close - open - 1);
    FUZZ_CHECK(proposal.size() <= content.size());
    FUZZ_CHECK(platform::decodeCp932(content).find(proposal) != std::u16string::npos);
    FUZZ_CHECK(h.editor.Becky2InUse && h.editor.ProgramEnding);
    auto pointer = platform::readLines(fuzz::folder() + u"\\Becky2.mil");
    FUZZ_CHECK(pointer && pointer->size() == 3);
    return 0;
}
