#include "platform/AppendJournal.h"

#include "platform/FilesIo.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace platform::journal {
namespace {

// The journal's line is short, and a file that has none within this many bytes is no journal.
// The record after it is compared piece by piece, never read whole.
constexpr std::size_t LineCap = 512;
constexpr std::size_t Piece = 64 * 1024;

// Reads exactly `size` bytes from `offset`; false when the file ends first or on an error.
bool readExactly(int fd, std::uint64_t offset, char* data, std::size_t size) {
    while (size > 0) {
        const long n = io::readAt(fd, offset, data, size);
        if (n <= 0)
            return false;
        offset += static_cast<std::uint64_t>(n);
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool writeAll(int fd, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const long n = io::writeSome(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
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

// What a journal tells. Its line is "OLD NEW BEFORE" (the sizes, and the file's last bytes in hex,
// "-" for none), ended by LF, and the record's bytes follow. Older editors wrote the line alone:
// "OLD NEW", or "OLD NEW BEFORE START" with the record's first 32 bytes. Anything else, a line or
// record cut short included, was cut short while being written, before any byte of the record
// went out.
struct Parsed {
    enum class Kind { Sizes, Start, Record };
    Kind kind = Kind::Sizes;
    Journal j;
    std::string start;          // Kind::Start: the record's first bytes
    std::uint64_t recordAt = 0; // Kind::Record: where the record begins in the journal
};

std::optional<Parsed> parse(std::string_view text, std::uint64_t journalSize) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos)
        return std::nullopt;
    const std::string_view line = text.substr(0, end);
    std::vector<std::string_view> fields;
    for (std::size_t at = 0; at <= line.size();) {
        const std::size_t next = std::min(line.find(' ', at), line.size());
        fields.push_back(line.substr(at, next - at));
        at = next + 1;
    }
    if (fields.size() < 2 || fields.size() > 4)
        return std::nullopt;
    Parsed p;
    for (int n = 0; n < 2; ++n) {
        const std::string_view digits = fields[static_cast<std::size_t>(n)];
        if (digits.empty() || digits.size() > 19 || digits.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        std::uint64_t& size = n == 0 ? p.j.oldSize : p.j.newSize;
        for (char c : digits)
            size = size * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (p.j.oldSize > p.j.newSize)
        return std::nullopt;
    const std::uint64_t recordSize = p.j.newSize - p.j.oldSize, lineSize = end + 1;
    if (fields.size() >= 3) {
        auto before = fromHex(fields[2]);
        if (!before)
            return std::nullopt;
        p.j.before = std::move(*before);
    }
    if (fields.size() == 3) {
        p.kind = Parsed::Kind::Record;
        p.recordAt = lineSize;
        return journalSize >= lineSize && journalSize - lineSize == recordSize ? std::optional(p) : std::nullopt;
    }
    if (fields.size() == 4) {
        auto start = fromHex(fields[3]);
        if (!start || start->size() > recordSize)
            return std::nullopt;
        p.kind = Parsed::Kind::Start;
        p.start = std::move(*start);
    }
    return journalSize == lineSize ? std::optional(p) : std::nullopt;
}

// Reads `n` bytes of the record from `at` into `out`.
using RecordBytes = std::function<bool(std::uint64_t at, char* out, std::size_t n)>;

RecordBytes inMemory(std::string_view record) {
    return [record](std::uint64_t at, char* out, std::size_t n) {
        std::copy_n(record.data() + at, n, out);
        return true;
    };
}

// Whether the file shows the append and nothing else: its old last bytes in place, and from the
// append point to its end, `size`, the start of the record. Only then is all of that ours.
bool showsTheAppend(int fd, const Journal& j, std::uint64_t size, const RecordBytes& record) {
    if (j.before.size() > j.oldSize)
        return false;
    std::string before(j.before.size(), '\0');
    if (!readExactly(fd, j.oldSize - before.size(), before.data(), before.size()) || before != j.before)
        return false;
    std::vector<char> file(Piece), ours(Piece);
    for (std::uint64_t at = 0; at < size - j.oldSize;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(Piece, size - j.oldSize - at));
        if (!readExactly(fd, j.oldSize + at, file.data(), n) || !record(at, ours.data(), n) ||
            !std::equal(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n), ours.begin()))
            return false;
        at += n;
    }
    return true;
}

bool cutTo(int fd, std::uint64_t size) {
    return io::truncateFile(fd, size) && io::syncFile(fd);
}

} // namespace

fs::path pathOf(const fs::path& native) {
    fs::path journal = native;
    journal += ".jnl";
    return journal;
}

// Writes and flushes the journal, straight to the disk: the test hook stands for the disk
// under the record, and every byte that goes through it belongs to the record.
bool write(const fs::path& journal, const Journal& j, std::string_view record) {
    const int fd = io::createRegular(journal);
    if (fd < 0)
        return false;
    const std::string line = std::to_string(j.oldSize) + " " + std::to_string(j.newSize) + " " + toHex(j.before) + "\n";
    bool ok = io::truncateFile(fd, 0) && writeAll(fd, line) && writeAll(fd, record) && io::syncFile(fd);
    ok = io::closeFile(fd) && ok;
    if (!ok)
        io::removePath(journal);
    return ok;
}

bool takeBack(int fd, const Journal& j, std::string_view record) {
    const std::optional<std::uint64_t> size = io::sizeOf(fd);
    if (!size)
        return false;
    if (*size <= j.oldSize || *size - j.oldSize > record.size())
        return true; // none of the record, or more than the record: nothing that is only ours
    return !showsTheAppend(fd, j, *size, inMemory(record)) || cutTo(fd, j.oldSize);
}

// Cuts back the part of a record that a killed append left. Only a size strictly between the
// journal's two sizes, over bytes that are all the journal's record, is a cut record; anything
// else means the append finished, or someone has changed the file or appended to it since, and
// it is left alone. False when a cut was due and failed.
bool recover(const fs::path& native, int fd) {
    const fs::path journal = pathOf(native);
    // Only a regular file is a journal of ours: anything else by that name (a FIFO would keep a
    // reader waiting forever) is left alone, and the file with it.
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(journal, ec)))
        return true;
    const int jfd = io::openRegular(journal);
    if (jfd < 0)
        return true;
    std::string text(LineCap, '\0');
    const long read = io::readAt(jfd, 0, text.data(), text.size());
    text.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
    const std::optional<std::uint64_t> journalSize = io::sizeOf(jfd);
    const std::optional<Parsed> p = journalSize ? parse(text, *journalSize) : std::nullopt;
    bool ok = true;
    if (p && fd >= 0) {
        const std::optional<std::uint64_t> size = io::sizeOf(fd);
        ok = size.has_value();
        if (ok && *size > p->j.oldSize && *size < p->j.newSize) {
            bool due = true; // the oldest journals: the sizes are all there is to go by
            if (p->kind == Parsed::Kind::Start)
                due = *size - p->j.oldSize <= p->start.size() && showsTheAppend(fd, p->j, *size, inMemory(p->start));
            if (p->kind == Parsed::Kind::Record) {
                const RecordBytes inJournal = [&](std::uint64_t at, char* out, std::size_t n) {
                    return readExactly(jfd, p->recordAt + at, out, n);
                };
                due = showsTheAppend(fd, p->j, *size, inJournal);
            }
            ok = !due || cutTo(fd, p->j.oldSize);
        }
    }
    io::closeFile(jfd);
    if (ok)
        io::removePath(journal);
    return ok;
}

} // namespace platform::journal
