#include "platform/AppendJournal.h"

#include "platform/FilesIo.h"

#include <algorithm>
#include <fstream>
#include <string_view>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace platform::journal {
namespace {

// The journal's text; a journal is one short line, and anything long is no journal.
std::string readSmall(const fs::path& journal) {
    std::ifstream in(journal, std::ios::binary);
    std::string text(512, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

std::string toHex(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex = bytes.empty() ? "-" : "";
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

std::optional<std::string> fromHex(std::string_view hex) {
    if (hex == "-")
        return std::string();
    if (hex.empty() || hex.size() % 2 != 0 || hex.size() > 2 * FingerprintBytes)
        return std::nullopt;
    auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = digit(hex[i]), low = digit(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

// The journal is one line, "old new" sizes and the two fingerprints in hex ("-" for none),
// ended by LF; a line without fingerprints is read too. Anything else was cut short while
// being written, before any byte of the record went out.
std::optional<Journal> parseJournal(std::string_view text) {
    if (text.empty() || text.back() != '\n')
        return std::nullopt;
    text.remove_suffix(1);
    std::vector<std::string_view> fields;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        fields.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    if (fields.size() != 2 && fields.size() != 4)
        return std::nullopt;
    Journal j;
    for (int n = 0; n < 2; ++n) {
        const std::string_view digits = fields[static_cast<std::size_t>(n)];
        if (digits.empty() || digits.size() > 19 || digits.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        std::uint64_t& size = n == 0 ? j.oldSize : j.newSize;
        for (char c : digits)
            size = size * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (fields.size() == 4) {
        j.before = fromHex(fields[2]);
        j.record = fromHex(fields[3]);
        if (!j.before || !j.record)
            return std::nullopt;
    }
    if (j.oldSize > j.newSize)
        return std::nullopt;
    return j;
}

// Whether the file still shows the journal's append: its old last bytes in place, followed by
// as much of the record as there is.
bool showsTheAppend(const fs::path& native, const Journal& j, std::uint64_t size) {
    if (!j.before)
        return true; // a journal without fingerprints: the sizes are all there is to go by
    const std::string& before = *j.before;
    if (before.size() > j.oldSize)
        return false;
    const std::size_t written = static_cast<std::size_t>(std::min<std::uint64_t>(size - j.oldSize, j.record->size()));
    const std::string expected = before + j.record->substr(0, written);
    return readRange(native, j.oldSize - before.size(), expected.size()) == expected;
}

} // namespace

fs::path pathOf(const fs::path& native) {
    fs::path journal = native;
    journal += ".jnl";
    return journal;
}

// Up to `count` bytes from `from`; fewer when the file is shorter or cannot be read.
std::string readRange(const fs::path& native, std::uint64_t from, std::size_t count) {
    std::ifstream in(native, std::ios::binary);
    std::string data(count, '\0');
    if (!in.seekg(static_cast<std::streamoff>(from)))
        return {};
    in.read(data.data(), static_cast<std::streamsize>(count));
    data.resize(static_cast<std::size_t>(in.gcount()));
    return data;
}

// Writes and flushes the journal, straight to the disk: the test hook stands for the disk
// under the record, and every byte that goes through it belongs to the record.
bool write(const fs::path& journal, const Journal& j) {
    bool created = false;
    int fd = io::openAppend(journal, created);
    if (fd < 0)
        return false;
    std::string text = std::to_string(j.oldSize) + " " + std::to_string(j.newSize);
    if (j.before && j.record)
        text += " " + toHex(*j.before) + " " + toHex(*j.record);
    text += "\n";
    bool ok = created || io::truncateFile(fd, 0);
    for (std::size_t done = 0; ok && done < text.size();) {
        const long n = io::writeSome(fd, text.data() + done, text.size() - done);
        ok = n > 0;
        done += ok ? static_cast<std::size_t>(n) : 0;
    }
    ok = ok && io::syncFile(fd);
    ok = io::closeFile(fd) && ok;
    if (!ok)
        io::removePath(journal);
    return ok;
}

// Cuts back the part of a record that a killed append left. Only a size strictly between the
// journal's two sizes, over bytes that match its fingerprints, is a cut record; anything else
// means the append finished or someone has changed the file since, and it is left alone.
// False when a cut was due and failed.
bool recover(const fs::path& native) {
    const fs::path journal = pathOf(native);
    std::error_code ec;
    if (!fs::exists(journal, ec))
        return true;
    if (auto j = parseJournal(readSmall(journal))) {
        const std::uintmax_t size = fs::is_regular_file(native, ec) ? fs::file_size(native, ec) : 0;
        if (!ec && size > j->oldSize && size < j->newSize && showsTheAppend(native, *j, size)) {
            bool created = false;
            int fd = io::openAppend(native, created);
            if (fd < 0)
                return false;
            const bool cut = io::truncateFile(fd, j->oldSize) && io::syncFile(fd);
            if (!io::closeFile(fd) || !cut)
                return false;
        }
    }
    io::removePath(journal);
    return true;
}

} // namespace platform::journal
