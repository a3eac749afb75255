#include "platform/Files.h"

#include "platform/AppendJournal.h"
#include "platform/Cp932.h"
#include "platform/FilesIo.h"
#include "platform/Paths.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace platform {
namespace {

std::mutex hookMutex;
WriteHook writeHook;
BeforeLockHook beforeLockHook;

void beforeLock() {
    BeforeLockHook hook;
    {
        std::lock_guard lock(hookMutex);
        hook = beforeLockHook;
    }
    if (hook)
        hook();
}

long writeSome(int fd, const char* data, std::size_t size) {
    WriteHook hook;
    {
        std::lock_guard lock(hookMutex);
        hook = writeHook;
    }
    return hook ? hook(fd, data, size) : io::writeSome(fd, data, size);
}

// Writes everything, continuing after short writes; false on an error or a write that makes no progress.
bool writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        long n = writeSome(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0 || static_cast<std::size_t>(n) > bytes.size() - done)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// What must come before a record so that it starts on a line of its own, from the file's last
// bytes: nothing when the file is empty or its last line is ended, the missing LF after a final
// CR, else CR LF.
std::string_view lineEndAfter(std::string_view tail) {
    if (tail.empty() || tail.back() == '\n')
        return {};
    return tail.back() == '\r' ? "\n" : "\r\n";
}

// A file whose every write bit is off is read-only: Windows refuses to replace or extend it,
// and so does the editor everywhere, even for a user whom the system would let through.
bool isReadOnly(const fs::path& native) {
    std::error_code ec;
    const fs::file_status status = fs::status(native, ec);
    if (ec || !fs::is_regular_file(status))
        return false;
    const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & write) == fs::perms::none;
}

std::optional<std::string> readNative(const fs::path& native) {
    std::ifstream in(native, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string data;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
        data.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        return std::nullopt;
    return data;
}

// Temporary files of saves that were killed before their rename: "NAME.xxxxxxxx.tmp" beside it.
// Names are compared in the system's own form, so no name needs converting.
void removeStaleTemps(const fs::path& target) {
    using Name = fs::path::string_type;
    using Unit = fs::path::value_type;
    const Name prefix = target.filename().native() + Unit('.');
    auto isTemp = [&](const Name& name) {
        if (name.size() != prefix.size() + 12 || name.compare(0, prefix.size(), prefix) != 0)
            return false;
        for (std::size_t i = prefix.size(); i < prefix.size() + 8; ++i)
            if (!((name[i] >= Unit('0') && name[i] <= Unit('9')) || (name[i] >= Unit('a') && name[i] <= Unit('f'))))
                return false;
        const Name end = name.substr(name.size() - 4);
        return end[0] == Unit('.') && end[1] == Unit('t') && end[2] == Unit('m') && end[3] == Unit('p');
    };
    std::error_code ec;
    fs::directory_iterator it(target.parent_path().empty() ? fs::path(".") : target.parent_path(), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (!isTemp(it->path().filename().native()))
            continue;
        const int fd = io::openRegular(it->path());
        if (fd < 0)
            continue;
        // A save going on in another process holds the lock on its temporary file.
        if (io::tryLock(fd) && io::sameFile(fd, it->path()))
            io::removePath(it->path());
        io::closeFile(fd);
    }
}

// A fresh temporary file beside the target, locked while it lives so that other saves of the
// file see it is no leftover. -1 on failure.
int createLockedTemp(const fs::path& target, fs::path& temp) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int fd = io::createTempBeside(target, temp);
        if (fd < 0)
            return -1;
        // Another save may have taken it for a leftover before it was locked, and removed it.
        if (io::tryLock(fd) && io::sameFile(fd, temp))
            return fd;
        io::closeFile(fd);
    }
    return -1;
}

// Writes the bytes to a temporary file beside the target, flushes it and renames it over the
// target. `held` is this process's locked descriptor on the target, or -1; where the system
// refuses to rename over a file held open, it is closed (and -1) just before the rename.
bool replaceBeside(const fs::path& target, std::string_view bytes, int& held) {
    removeStaleTemps(target);
    fs::path temp;
    const int fd = createLockedTemp(target, temp);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes) && io::syncFile(fd);
    if (ok && !io::canRemoveOpenFile && held >= 0) {
        io::closeFile(held);
        held = -1;
    }
    // The temporary file stays locked until it has its new name.
    ok = ok && io::renameOver(temp, target);
    if (!ok)
        io::removePath(temp);
    io::closeFile(fd);
    if (ok)
        io::syncFolder(target.parent_path());
    return ok;
}

// Lets go of a file this call made and failed to fill (`fd` under its lock, or -1 when already
// closed), removing it when it is still empty. Where an open file cannot be removed, that waits
// for the close: an append of another process would have to run whole in that moment.
void dropIfEmpty(int fd, const fs::path& native) {
    bool drop = fd < 0 || (io::sizeOf(fd) == 0 && io::sameFile(fd, native));
    if (drop && fd >= 0 && io::canRemoveOpenFile) {
        io::removePath(native);
        drop = false;
    }
    if (fd >= 0)
        io::closeFile(fd);
    std::error_code ec;
    if (drop && fs::file_size(native, ec) == 0 && !ec)
        io::removePath(native);
}

// Opens the file for reading and appending and takes its lock, waiting up to a second for another
// process's turn to end. When the path names another file by then (a rewrite renamed a new file
// over it, or it was removed), it lets go and opens the path again. -1 on failure.
int openLocked(const fs::path& native, bool create, bool& created) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int fd = io::openData(native, create, created);
        if (fd < 0)
            return -1;
        beforeLock();
        bool locked = io::tryLock(fd);
        for (int wait = 0; !locked && wait < 50; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            locked = io::tryLock(fd);
        }
        if (locked && io::sameFile(fd, native))
            return fd;
        io::closeFile(fd);
        if (!locked)
            return -1;
    }
    return -1;
}

// All the bytes of the file, read through its descriptor; nullopt on an error.
std::optional<std::string> readAll(int fd) {
    std::string data;
    char chunk[65536];
    for (long n; (n = io::readAt(fd, data.size(), chunk, sizeof chunk)) != 0;) {
        if (n < 0)
            return std::nullopt;
        data.append(chunk, static_cast<std::size_t>(n));
    }
    return data;
}

// Up to `count` of the file's bytes before `end`; fewer when they cannot all be read.
std::string bytesBefore(int fd, std::uint64_t end, std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t done = 0;
    for (long n; done < count && (n = io::readAt(fd, end - count + done, bytes.data() + done, count - done)) > 0;)
        done += static_cast<std::size_t>(n);
    bytes.resize(done);
    return bytes;
}

} // namespace

std::optional<std::string> readBytes(std::u16string_view path) {
    fs::path native = nativePath(path);
    std::error_code ec;
    if (!fs::is_regular_file(native, ec))
        return std::nullopt;
    return readNative(native);
}

std::optional<std::uint64_t> fileSize(std::u16string_view path) {
    fs::path native = nativePath(path);
    std::error_code ec;
    if (!fs::is_regular_file(native, ec))
        return std::nullopt;
    std::uintmax_t size = fs::file_size(native, ec);
    if (ec)
        return std::nullopt;
    return static_cast<std::uint64_t>(size);
}

std::optional<std::vector<std::u16string>> readLines(std::u16string_view path) {
    auto bytes = readBytes(path);
    if (!bytes)
        return std::nullopt;
    // Split before decoding: CR and LF never occur inside a CP932 character, and a stray lead
    // byte at a line's end must not swallow the line break.
    std::vector<std::u16string> lines;
    const std::string& b = *bytes;
    std::size_t start = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (b[i] != '\r' && b[i] != '\n')
            continue;
        lines.push_back(decodeCp932(std::string_view(b).substr(start, i - start)));
        if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < b.size())
        lines.push_back(decodeCp932(std::string_view(b).substr(start)));
    return lines;
}

bool recoverAppend(std::u16string_view path) {
    const fs::path native = nativePath(path);
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(journal::pathOf(native), ec)))
        return true;
    if (!fs::exists(native, ec))
        return journal::recover(native, -1);
    bool created = false;
    const int fd = io::openData(native, false, created);
    if (fd < 0)
        return false;
    // A journal under another process's lock belongs to an append still going on; a file
    // replaced meanwhile was recovered by whoever replaced it.
    const bool recovered = !io::tryLock(fd) || !io::sameFile(fd, native) || journal::recover(native, fd);
    io::closeFile(fd);
    return recovered;
}

bool appendRecord(std::u16string_view path, std::string_view bytes) {
    const fs::path native = nativePath(path);
    if (native.empty() || isReadOnly(native))
        return false;
    // One append at a time to a file, across processes: a second editor waits a moment for
    // the first, and never takes its live journal for one that a killed append left. Whether
    // this call made the file counts only if the file is still empty under the lock.
    bool created = false;
    const int fd = openLocked(native, true, created);
    if (fd < 0)
        return false;
    const fs::path journalPath = journal::pathOf(native);
    std::optional<std::uint64_t> oldSize;
    if (journal::recover(native, fd))
        oldSize = io::sizeOf(fd);
    if (!oldSize) {
        io::closeFile(fd);
        return false;
    }
    journal::Journal j;
    j.oldSize = *oldSize;
    const std::size_t keep = static_cast<std::size_t>(std::min<std::uint64_t>(*oldSize, journal::FingerprintBytes));
    j.before = bytesBefore(fd, *oldSize, keep);
    // A last line without its end would glue the record onto it. A file that cannot be read
    // back gets a line end, and a journal that keeps none of its bytes.
    const bool readBack = j.before.size() == keep;
    if (!readBack)
        j.before.clear();
    std::string record(readBack ? lineEndAfter(j.before) : "\r\n");
    record += bytes;
    j.newSize = *oldSize + record.size();
    const bool journaled = journal::write(journalPath, j, record);
    // The journal goes while the lock is still held: the moment it is released, another
    // editor may write its own journal by that name.
    if (journaled && writeAll(fd, record) && io::syncFile(fd)) {
        // The record is on the disk: a failing close takes nothing back, and reporting it
        // would have the user send the record again.
        io::removePath(journalPath);
        io::closeFile(fd);
        return true;
    }
    // Take back whatever part of the record reached the file, and no byte of anyone else's.
    if (journaled && journal::takeBack(fd, j, record)) // a cut that failed leaves it for the next append
        io::removePath(journalPath);
    if (created && *oldSize == 0)
        dropIfEmpty(fd, native);
    else
        io::closeFile(fd);
    return false;
}

bool replaceFile(std::u16string_view path, std::string_view bytes) {
    fs::path target = nativePath(path);
    std::error_code ec;
    if (target.empty() || fs::is_directory(target, ec))
        return false;
    if (fs::is_symlink(target, ec)) { // replace the file the link points to, keep the link
        fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    if (isReadOnly(target))
        return false;
    int none = -1;
    return replaceBeside(target, bytes, none);
}

bool updateFile(std::u16string_view path, const FileBuilder& build) {
    fs::path target = nativePath(path);
    std::error_code ec;
    if (target.empty() || fs::is_directory(target, ec))
        return false;
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    if (isReadOnly(target))
        return false;
    // Under the appends' lock from the read to the rename, so that no append of this program
    // comes between them; an append that opened the old file waits, then finds it replaced and
    // opens the new one. Windows refuses to rename over the file while it is open here, so there
    // the lock goes just before the rename: an append would have to run whole in that moment.
    bool created = false;
    int fd = openLocked(target, true, created);
    if (fd < 0)
        return false;
    const std::optional<std::uint64_t> size = journal::recover(target, fd) ? io::sizeOf(fd) : std::nullopt;
    std::optional<std::string> current;
    bool ok = size.has_value();
    if (ok && !(created && *size == 0)) {
        current = readAll(fd);
        ok = current.has_value();
    }
    const std::optional<std::string> bytes = ok ? build(current) : std::nullopt;
    ok = bytes && replaceBeside(target, *bytes, fd);
    if (!ok && created)
        dropIfEmpty(fd, target); // the file made to hold the lock
    else if (fd >= 0)
        io::closeFile(fd);
    return ok;
}

std::string joinLines(const std::vector<std::u16string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += encodeCp932(line);
        out += "\r\n";
    }
    return out;
}

void setWriteHookForTests(WriteHook hook) {
    std::lock_guard lock(hookMutex);
    writeHook = std::move(hook);
}

void setBeforeLockHookForTests(BeforeLockHook hook) {
    std::lock_guard lock(hookMutex);
    beforeLockHook = std::move(hook);
}

} // namespace platform
