// The append journal: whatever a left-over journal holds, recovery only ever cuts the file
// back to the size the journal gives (a prefix of what was there) and removes the journal;
// an append afterwards adds just its record.
#include "FuzzSupport.h"

#include "platform/Files.h"

#include <algorithm>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::size_t journalLength = in.byte();
    const std::string_view rest = in.rest();
    const std::string journal(rest.substr(0, std::min(journalLength, rest.size())));
    const std::string content(rest.substr(journal.size()));
    const std::u16string box = fuzz::writeFile("box.mbx", content);
    fuzz::writeFile("box.mbx.jnl", journal);

    FUZZ_CHECK(platform::recoverAppend(box));
    FUZZ_CHECK(!platform::fileSize(box + u".jnl"));
    const auto after = platform::readBytes(box);
    FUZZ_CHECK(after.has_value());
    if (*after != content) {
        FUZZ_CHECK(content.starts_with(*after));
        const std::size_t digits = std::min(journal.find(' '), journal.size());
        FUZZ_CHECK(digits > 0 && digits <= 19 && std::stoull(journal.substr(0, digits)) == after->size());
    }

    FUZZ_CHECK(platform::appendRecord(box, "rec\r\n"));
    const auto appended = platform::readBytes(box);
    FUZZ_CHECK(appended && appended->starts_with(*after) && appended->ends_with("rec\r\n"));
    FUZZ_CHECK(appended->size() - after->size() <= 7); // the record, and a line end if one lacked
    FUZZ_CHECK(!platform::fileSize(box + u".jnl"));
    return 0;
}
