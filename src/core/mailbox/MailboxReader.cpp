#include "core/mailbox/MailboxReader.h"

#include "platform/Cp932.h"
#include "platform/Files.h"

#include <algorithm>
#include <array>

namespace core::mailbox {

namespace {

constexpr std::u16string_view CrLf = u"\r\n";

// The record being read.
struct Record {
    std::u16string_view sender, destination, title, dateTime;
    std::u16string body;
    bool own = false;
    bool inBody = false;
    bool vertical = false;

    void clear() {
        sender = destination = title = dateTime = {};
        body.clear();
        own = inBody = vertical = false;
    }
};

bool takeField(std::u16string_view line, std::u16string_view prefix, std::u16string_view& field) {
    if (line.substr(0, prefix.size()) != prefix)
        return false;
    field = line.substr(prefix.size());
    return true;
}

void readHeaderLine(Record& r, std::u16string_view line) {
    std::u16string_view viewMode;
    if (takeField(line, u"From:", r.sender) || takeField(line, u"To:", r.destination) ||
        takeField(line, u"Subject:", r.title) || takeField(line, u"X-Date:", r.dateTime))
        return;
    if (takeField(line, u"X-ViewMode:", viewMode) && viewMode == u"TATE")
        r.vertical = true;
}

ListEntry rowOf(const Record& r) {
    std::u16string row;
    row.reserve(r.title.size() + r.destination.size() + r.dateTime.size() + r.sender.size() + r.body.size() +
                4 * ColumnSeparator.size());
    std::array<std::uint32_t, 4> ends{};
    std::size_t column = 0;
    for (std::u16string_view piece : {r.title, r.destination, r.dateTime, r.sender}) {
        row += piece;
        ends[column++] = static_cast<std::uint32_t>(row.size());
        row += ColumnSeparator;
    }
    row += r.body;
    return {std::move(row), r.vertical ? 1 : 0, ends};
}

} // namespace

std::vector<ListEntry> mailboxRows(std::u16string_view text, bool everyRecord) {
    std::vector<ListEntry> rows;
    Record r;
    std::size_t start = 0;
    const std::size_t size = text.size();
    while (start < size) {
        // Lines end in CR LF; a lone CR or LF ends one too, as everywhere else the editor reads.
        std::size_t end = start;
        while (end < size && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        const std::u16string_view line = text.substr(start, end - start);
        start = end + 1;
        if (end + 1 < size && text[end] == u'\r' && text[end + 1] == u'\n')
            ++start;

        if (line == u".") {
            if (everyRecord || r.own)
                rows.push_back(rowOf(r));
            r.clear();
            continue;
        }
        if (!everyRecord && !r.own && line.find(OwnershipMark) != std::u16string_view::npos)
            r.own = true;
        if (r.inBody) {
            r.body += line;
            r.body += CrLf;
        } else if (line.empty()) {
            r.inBody = true;
        } else {
            readHeaderLine(r, line);
        }
    }
    std::reverse(rows.begin(), rows.end());
    return rows;
}

std::optional<std::vector<ListEntry>> readMailboxRows(std::u16string_view path, bool everyRecord) {
    auto bytes = platform::readBytes(path);
    if (!bytes)
        return std::nullopt;
    return mailboxRows(platform::decodeCp932(*bytes), everyRecord);
}

RowPieces splitRow(const ListEntry& row) {
    const auto& ends = row.columnEnds;
    bool ordered = ends[0] + ColumnSeparator.size() <= ends[1] && ends[1] + ColumnSeparator.size() <= ends[2] &&
                   ends[2] + ColumnSeparator.size() <= ends[3] && ends[3] + ColumnSeparator.size() <= row.text.size();
    if (!ordered)
        return splitRow(row.text);
    const std::u16string_view text = row.text;
    RowPieces p;
    std::u16string* pieces[] = {&p.title, &p.destination, &p.dateTime, &p.sender};
    std::size_t start = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        *pieces[i] = text.substr(start, ends[i] - start);
        start = ends[i] + ColumnSeparator.size();
    }
    p.body = text.substr(start);
    return p;
}

RowPieces splitRow(std::u16string_view row) {
    RowPieces p;
    std::u16string* pieces[] = {&p.title, &p.destination, &p.dateTime, &p.sender};
    for (std::u16string* piece : pieces) {
        std::size_t cut = row.find(ColumnSeparator);
        if (cut == std::u16string_view::npos) {
            *piece = row;
            return p;
        }
        *piece = row.substr(0, cut);
        row.remove_prefix(cut + ColumnSeparator.size());
    }
    p.body = row;
    return p;
}

} // namespace core::mailbox
