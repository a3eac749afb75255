// The mailbox reader of the draft and log lists: rows never outnumber the records, and a row
// splits back into at most five pieces that hold only what the mailbox held.
#include "FuzzSupport.h"

#include "core/mailbox/MailboxReader.h"
#include "platform/Cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const bool everyRecord = in.flag();
    const std::u16string text = platform::decodeCp932(in.rest());
    const std::vector<core::ListEntry> rows = core::mailbox::mailboxRows(text, everyRecord);
    std::size_t lines = 1;
    for (char16_t c : text)
        lines += c == u'\n' || c == u'\r';
    FUZZ_CHECK(rows.size() <= lines);
    std::size_t total = 0;
    for (const core::ListEntry& row : rows) {
        FUZZ_CHECK(row.data == 0 || row.data == 1);
        const core::mailbox::RowPieces pieces = core::mailbox::splitRow(row.text);
        total += row.text.size();
        // Split where its columns end, a row gives back exactly its text.
        const core::mailbox::RowPieces kept = core::mailbox::splitRow(row);
        const std::u16string sep(core::mailbox::ColumnSeparator);
        FUZZ_CHECK(kept.title + sep + kept.destination + sep + kept.dateTime + sep + kept.sender + sep + kept.body ==
                   row.text);
        // Columns that hold no separator split the same by the text alone.
        if ((kept.title + kept.destination + kept.dateTime + kept.sender).find(sep) == std::u16string::npos)
            FUZZ_CHECK(pieces.title == kept.title && pieces.destination == kept.destination &&
                       pieces.dateTime == kept.dateTime && pieces.sender == kept.sender && pieces.body == kept.body);
        FUZZ_CHECK(pieces.title.size() + pieces.destination.size() + pieces.dateTime.size() + pieces.sender.size() +
                       pieces.body.size() <=
                   row.text.size() + 2 * lines);
    }
    FUZZ_CHECK(total <= 2 * text.size() + 16 * rows.size());
    // The same mailbox read from its file.
    const auto fromFile = core::mailbox::readMailboxRows(fuzz::writeFile("box.mbx", in.rest()), everyRecord);
    FUZZ_CHECK(fromFile && fromFile->size() == rows.size());
    return 0;
}
