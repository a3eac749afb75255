#include "platform/RegistryFile.h"

#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "platform/PathsCase.h"

#include <optional>

namespace platform {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendUnit(std::u16string& out, unsigned code) {
    out.push_back(static_cast<char16_t>(code & 0xFFFF));
}

// Reads an escaped string from s[pos] up to the closing `end` character; pos ends after it.
// nullopt when the string is not closed on this line.
std::optional<std::u16string> parseEscaped(std::string_view s, std::size_t& pos, char end) {
    std::u16string out;
    std::string raw; // plain bytes, decoded as UTF-8 in runs
    auto flush = [&] {
        out += fromUtf8(raw);
        raw.clear();
    };
    while (pos < s.size()) {
        char c = s[pos++];
        if (c == end) {
            flush();
            return out;
        }
        if (c != '\\' || pos >= s.size()) {
            raw.push_back(c);
            continue;
        }
        flush();
        char e = s[pos++];
        switch (e) {
        case 'a':
            out.push_back(u'\a');
            break;
        case 'b':
            out.push_back(u'\b');
            break;
        case 'e':
            out.push_back(u'\x1b');
            break;
        case 'f':
            out.push_back(u'\f');
            break;
        case 'n':
            out.push_back(u'\n');
            break;
        case 'r':
            out.push_back(u'\r');
            break;
        case 't':
            out.push_back(u'\t');
            break;
        case 'v':
            out.push_back(u'\v');
            break;
        case 'x': {
            unsigned code = 0;
            int digits = 0;
            for (; digits < 4 && pos < s.size() && hexDigit(s[pos]) >= 0; ++digits)
                code = code * 16 + static_cast<unsigned>(hexDigit(s[pos++]));
            if (digits == 0)
                out.push_back(u'x');
            else
                appendUnit(out, code);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                unsigned code = static_cast<unsigned>(e - '0');
                for (int digits = 1; digits < 3 && pos < s.size() && s[pos] >= '0' && s[pos] <= '7'; ++digits)
                    code = code * 8 + static_cast<unsigned>(s[pos++] - '0');
                appendUnit(out, code);
            } else {
                raw.push_back(e); // "\\", "\"" and anything unknown stand for themselves
            }
        }
    }
    return std::nullopt;
}

// "hex(7):" → 7; also the type of "str(2):". Advances past the ")".
std::optional<unsigned> parseType(std::string_view s, std::size_t& pos) {
    if (pos >= s.size() || s[pos] != '(')
        return std::nullopt;
    unsigned type = 0;
    std::size_t p = pos + 1;
    int digits = 0;
    for (; p < s.size() && hexDigit(s[p]) >= 0 && digits < 8; ++p, ++digits)
        type = type * 16 + static_cast<unsigned>(hexDigit(s[p]));
    if (digits == 0 || p >= s.size() || s[p] != ')')
        return std::nullopt;
    pos = p + 1;
    return type;
}

bool startsWith(std::string_view s, std::size_t pos, std::string_view prefix) {
    return s.substr(pos, prefix.size()) == prefix;
}

class Parser {
public:
    explicit Parser(std::string_view content) : m_content(content) {}

    RegHive run() {
        std::string_view line;
        while (nextLine(line)) {
            if (line.empty())
                continue;
            if (line[0] == '[')
                section(line);
            else if (m_key && (line[0] == '"' || line[0] == '@'))
                value(line);
            // Anything else: "#time=", "#arch=", ";" comments, the header, junk.
        }
        return std::move(m_hive);
    }

private:
    bool nextLine(std::string_view& line) {
        if (m_pos >= m_content.size())
            return false;
        std::size_t end = m_content.find('\n', m_pos);
        if (end == std::string_view::npos)
            end = m_content.size();
        line = m_content.substr(m_pos, end - m_pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_pos = end + 1;
        return true;
    }

    void section(std::string_view line) {
        std::size_t pos = 1;
        auto name = parseEscaped(line, pos, ']');
        // Values under a broken heading must not land in the key before it.
        m_key = name ? &m_hive[normalizeRegKey(*name)] : nullptr;
    }

    void value(std::string_view line) {
        std::size_t pos = 1;
        std::u16string name;
        if (line[0] == '"') {
            auto parsed = parseEscaped(line, pos, '"');
            if (!parsed)
                return;
            name = std::move(*parsed);
        }
        if (pos >= line.size() || line[pos] != '=')
            return;
        ++pos;
        if (auto v = data(line, pos))
            (*m_key)[upcase(name)] = std::move(*v);
    }

    std::optional<RegValue> data(std::string_view line, std::size_t pos) {
        RegValue v;
        if (startsWith(line, pos, "str")) {
            pos += 3;
            v.type = 1;
            if (auto type = parseType(line, pos))
                v.type = *type;
            if (!startsWith(line, pos, ":\""))
                return std::nullopt;
            pos += 1;
        } else if (startsWith(line, pos, "\"")) {
            v.type = 1;
        }
        if (v.type != 0) {
            ++pos;
            auto text = parseEscaped(line, pos, '"');
            if (!text)
                return std::nullopt;
            v.isText = true;
            v.text = std::move(*text);
            return v;
        }
        if (startsWith(line, pos, "dword:")) {
            pos += 6;
            unsigned long number = 0;
            int digits = 0;
            for (; pos < line.size() && hexDigit(line[pos]) >= 0; ++pos, ++digits)
                number = number * 16 + static_cast<unsigned long>(hexDigit(line[pos]));
            if (digits == 0 || digits > 8)
                return std::nullopt;
            v.type = 4;
            for (int i = 0; i < 4; ++i)
                v.data.push_back(static_cast<char>((number >> (8 * i)) & 0xFF));
            return v;
        }
        if (startsWith(line, pos, "hex")) {
            pos += 3;
            v.type = 3;
            if (auto type = parseType(line, pos))
                v.type = *type;
            if (!startsWith(line, pos, ":"))
                return std::nullopt;
            ++pos;
            if (!hexBytes(line, pos, v.data))
                return std::nullopt;
            return v;
        }
        return std::nullopt;
    }

    // "00,1f,\" lines: a trailing backslash carries the list on to the next line.
    bool hexBytes(std::string_view line, std::size_t pos, std::string& out) {
        for (;;) {
            int pending = 0;
            int digits = 0;
            for (; pos < line.size(); ++pos) {
                char c = line[pos];
                if (c == ' ' || c == '\t' || c == ',') {
                    if (digits > 0)
                        out.push_back(static_cast<char>(pending));
                    pending = digits = 0;
                } else if (c == '\\') {
                    break;
                } else if (int d = hexDigit(c); d >= 0 && digits < 2) {
                    pending = pending * 16 + d;
                    ++digits;
                } else {
                    return false; // not a digit, or three digits in one byte
                }
            }
            if (digits > 0)
                out.push_back(static_cast<char>(pending));
            if (pos >= line.size()) // no continuation
                return true;
            // The list goes on only on a line of digits; a heading or value after a stray
            // backslash is left for the main loop, and the end of the file keeps what was read.
            std::size_t lineStart = m_pos;
            if (!nextLine(line))
                return true;
            pos = line.find_first_not_of(" \t");
            if (pos == std::string_view::npos || hexDigit(line[pos]) < 0) {
                m_pos = lineStart;
                return true;
            }
        }
    }

    std::string_view m_content;
    std::size_t m_pos = 0;
    RegHive m_hive;
    RegKey* m_key = nullptr;
};

std::string utf16le(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

bool isStringType(unsigned type) {
    return type == 1 || type == 2 || type == 7;
}

} // namespace

RegHive parseWineRegistry(std::string_view content) {
    return Parser(content).run();
}

std::u16string normalizeRegKey(std::u16string_view key) {
    std::u16string out;
    std::size_t pos = 0;
    while (pos <= key.size()) {
        std::size_t end = key.find(u'\\', pos);
        if (end == std::u16string_view::npos)
            end = key.size();
        if (end > pos) {
            if (!out.empty())
                out.push_back(u'\\');
            out += upcase(key.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    return out;
}

std::string ansiBytes(const RegValue& value) {
    if (value.isText) {
        if (!isStringType(value.type)) // a string stored under another type comes back as stored
            return utf16le(value.text) + std::string(2, '\0');
        return encodeCp932(value.text) + '\0';
    }
    if (isStringType(value.type)) { // text written as hex: UTF-16 LE, converted like any string
        std::u16string text;
        for (std::size_t i = 0; i + 1 < value.data.size(); i += 2)
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(value.data[i]) |
                                                 (static_cast<unsigned char>(value.data[i + 1]) << 8)));
        return encodeCp932(text);
    }
    return value.data;
}

} // namespace platform
