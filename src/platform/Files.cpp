#include "platform/Files.h"

#include "platform/Cp932.h"
#include "platform/FilesIo.h"
#include "platform/Paths.h"

#include <filesystem>
#include <fstream>
#include <mutex>
#include <system_error>

namespace fs = std::filesystem;

namespace platform {
namespace {

std::mutex hookMutex;
WriteHook writeHook;

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

// What must come before a record so that it starts on a line of its own: nothing when the file
// is empty or its last line is ended, the missing LF after a final CR, else CR LF.
std::string_view lineEndBefore(const fs::path& native, std::uint64_t size) {
    if (size == 0)
        return {};
    std::ifstream in(native, std::ios::binary);
    char last = 0;
    if (!in.seekg(static_cast<std::streamoff>(size - 1)) || !in.get(last))
        return "\r\n";
    if (last == '\n')
        return {};
    return last == '\r' ? "\n" : "\r\n";
}

} // namespace

std::optional<std::string> readBytes(std::u16string_view path) {
    fs::path native = nativePath(path);
    std::error_code ec;
    if (!fs::is_regular_file(native, ec))
        return std::nullopt;
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

bool appendRecord(std::u16string_view path, std::string_view bytes) {
    fs::path native = nativePath(path);
    bool created = false;
    int fd = io::openAppend(native, created);
    if (fd < 0)
        return false;
    std::optional<std::uint64_t> oldSize = io::sizeOf(fd);
    // A last line without its end would glue the record onto it.
    const std::string_view lineEnd = oldSize ? lineEndBefore(native, *oldSize) : std::string_view();
    if (oldSize && writeAll(fd, std::string(lineEnd) + std::string(bytes)) && io::syncFile(fd))
        return io::closeFile(fd);
    // Take back whatever part of the record reached the file.
    if (created) {
        io::closeFile(fd);
        io::removePath(native);
    } else {
        if (oldSize && io::truncateFile(fd, *oldSize))
            io::syncFile(fd);
        io::closeFile(fd);
    }
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
    fs::path temp;
    int fd = io::createTempBeside(target, temp);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes) && io::syncFile(fd);
    ok = io::closeFile(fd) && ok;
    if (ok)
        ok = io::renameOver(temp, target);
    if (!ok) {
        io::removePath(temp);
        return false;
    }
    io::syncFolder(target.parent_path());
    return true;
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

} // namespace platform
