#pragma once

#include "core/app/MainState.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Mailbox files read back into the rows of the draft list, and a row back into its pieces.
namespace core::mailbox {

inline constexpr std::u16string_view ColumnSeparator = u"\t|";
inline constexpr std::u16string_view ListHeading = u"タイトル\t|宛先（TO:）\t|送信時間(date:)\t|差出人（FROM:)\t|内容";
// The text that marks a record as written by this editor.
inline constexpr std::u16string_view OwnershipMark = u"Kotoribin";

// The pieces of one row. The body holds each line followed by CR LF.
struct RowPieces {
    std::u16string title, destination, dateTime, sender, body;
};

// One row per record of a mailbox's text, the last record first; a row's data is 1 when the
// record was sent in vertical layout. Records without the ownership mark are left out unless
// everyRecord. A record ends at a line holding "."; header lines count only before its first
// empty line, and every line after that one, empty or not, is body.
std::vector<ListEntry> mailboxRows(std::u16string_view text, bool everyRecord);

// The rows of a mailbox file (never written to); nullopt when it cannot be read.
std::optional<std::vector<ListEntry>> readMailboxRows(std::u16string_view path, bool everyRecord);

// A row split at TAB "|" into at most five pieces, so that a body holding the separator stays
// whole; missing pieces are empty.
RowPieces splitRow(std::u16string_view row);
// A row read from a mailbox split where its columns end, whatever they hold; a row without
// column ends is split at the separators as above.
RowPieces splitRow(const ListEntry& row);

} // namespace core::mailbox
