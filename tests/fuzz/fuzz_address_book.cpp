// addr.adr and Becky!'s group files (the same line format): the entries the editor reads, it
// writes back to a file that reads as the same entries, and the destination list never holds
// more than the file's lines.
#include "FuzzSupport.h"

#include "core/addressbook/AddressBook.h"
#include "platform/Files.h"

namespace {

bool sameEntries(const std::vector<core::AddressEntry>& a, const std::vector<core::AddressEntry>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].address != b[i].address || a[i].name != b[i].name || a[i].tail != b[i].tail)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const bool imode = in.flag();
    const std::u16string path = fuzz::writeFile("addr.adr", in.rest());
    const auto lines = platform::readLines(path);
    FUZZ_CHECK(lines.has_value());
    const std::vector<core::AddressEntry> entries = core::readAddressBook(path, imode);
    FUZZ_CHECK(entries.size() <= lines->size());
    for (const core::AddressEntry& e : entries)
        FUZZ_CHECK(e.address.find(u'\t') == std::u16string::npos && e.name.find(u'\t') == std::u16string::npos);

    fuzz::HeadlessEditor h;
    h.editor.loadToAddressList();
    FUZZ_CHECK(h.editor.s.Combo1.items.size() <= lines->size());

    // Full records go back as they came; the book then reads the same with the filter off.
    std::vector<core::AddressEntry> full;
    for (const core::AddressEntry& e : entries)
        if (!e.tail.empty())
            full.push_back(e);
    FUZZ_CHECK(core::writeAddressBook(h.editor, full, platform::readBytes(path)).has_value());
    FUZZ_CHECK(sameEntries(core::readAddressBook(path, false), full));
    FUZZ_CHECK(h.editor.s.Combo1.items.size() == full.size());
    return 0;
}
