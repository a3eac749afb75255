// Placeholder: plain stream I/O.
#include "platform/Files.h"

#include "platform/Cp932.h"
#include "platform/Paths.h"

#include <fstream>
#include <sstream>

namespace platform {

std::optional<std::string> readBytes(std::u16string_view path) {
    std::ifstream in(nativePath(path), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::optional<std::uint64_t> fileSize(std::u16string_view path) {
    auto b = readBytes(path);
    if (!b)
        return std::nullopt;
    return b->size();
}

std::optional<std::vector<std::u16string>> readLines(std::u16string_view path) {
    auto bytes = readBytes(path);
    if (!bytes)
        return std::nullopt;
    std::u16string text = decodeCp932(*bytes);
    std::vector<std::u16string> lines;
    std::u16string cur;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            cur.push_back(c);
        }
    }
    if (!cur.empty())
        lines.push_back(cur);
    return lines;
}

bool appendRecord(std::u16string_view path, std::string_view bytes) {
    std::ofstream out(nativePath(path), std::ios::binary | std::ios::app);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool replaceFile(std::u16string_view path, std::string_view bytes) {
    std::ofstream out(nativePath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string joinLines(const std::vector<std::u16string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += encodeCp932(line);
        out += "\r\n";
    }
    return out;
}

void setWriteHookForTests(WriteHook) {}

} // namespace platform
