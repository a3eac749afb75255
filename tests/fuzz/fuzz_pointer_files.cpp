// Becky.mil and Becky2.mil: what the editor takes from a pointer file, it writes back in a form
// that reads back the same.
#include "FuzzSupport.h"

#include "core/app/PointerFiles.h"
#include "platform/Files.h"

namespace {

struct Taken {
    std::u16string beckyPath;
    std::vector<core::ListEntry> accounts;
    std::vector<std::u16string> captions;
};

bool same(const Taken& a, const Taken& b) {
    if (a.beckyPath != b.beckyPath || a.captions != b.captions || a.accounts.size() != b.accounts.size())
        return false;
    for (std::size_t i = 0; i < a.accounts.size(); ++i)
        if (a.accounts[i].text != b.accounts[i].text || a.accounts[i].data != b.accounts[i].data)
            return false;
    return true;
}

Taken read(bool becky2, bool plugIn) {
    fuzz::HeadlessEditor h;
    auto lines = platform::readLines(fuzz::folder() + (becky2 ? u"\\Becky2.mil" : u"\\Becky.mil"));
    FUZZ_CHECK(lines.has_value());
    if (becky2)
        core::applyBecky2Pointer(h.editor, *lines, plugIn);
    else
        core::applyBecky1Pointer(h.editor, *lines);
    Taken t{h.editor.BeckyPath, h.editor.s.Combo2.items, {}};
    for (const auto& option : h.editor.s.OutAdr)
        t.captions.push_back(option.caption);
    FUZZ_CHECK(!t.beckyPath.empty());
    FUZZ_CHECK(t.accounts.size() <= lines->size() / 2 + 1);
    if (!becky2) {
        // Written back as the discovery writes it.
        std::vector<core::Becky1Account> accounts;
        for (std::size_t i = 0; i < t.accounts.size(); ++i)
            accounts.push_back({t.accounts[i].text, t.accounts[i].data,
                                i + 1 < t.captions.size() ? t.captions[i + 1] : std::u16string()});
        FUZZ_CHECK(core::writePointerFile(h.editor, core::Becky1PointerFile,
                                          core::becky1PointerLines(t.beckyPath, t.captions.at(0), accounts)));
    } else {
        FUZZ_CHECK(core::writePointerFile(h.editor, core::Becky2PointerFile,
                                          {t.beckyPath, t.captions.at(0), h.editor.AccountAddress}));
    }
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const bool becky2 = in.flag(), plugIn = in.flag();
    fuzz::writeFile(becky2 ? "Becky2.mil" : "Becky.mil", in.rest());
    const Taken first = read(becky2, plugIn);
    FUZZ_CHECK(same(read(becky2, plugIn), first));
    return 0;
}
