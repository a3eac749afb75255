#include "platform/Utf8Text.h"

namespace platform {

namespace {

bool isContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// The code point at i and its length in bytes, or 0 bytes when the sequence is not valid
// UTF-8 (overlong forms, surrogates and values past U+10FFFF included).
std::size_t decodeAt(std::string_view s, std::size_t i, char32_t& cp) {
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    unsigned char b = at(0);
    std::size_t n = b < 0x80                 ? 1
                    : b >= 0xC2 && b <= 0xDF ? 2
                    : b >= 0xE0 && b <= 0xEF ? 3
                    : b >= 0xF0 && b <= 0xF4 ? 4
                                             : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    if (n == 1) {
        cp = b;
        return 1;
    }
    cp = b & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if (!isContinuation(at(k)))
            return 0;
        cp = (cp << 6) | (at(k) & 0x3F);
    }
    static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < smallest[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

// Whether every byte takes part in a well-formed code page 932 sequence: one-byte characters
// and half-width katakana, or a lead byte followed by a trail byte.
bool isWellFormedCp932(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80 || (b >= 0xA1 && b <= 0xDF))
            continue;
        if (!((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) || ++i == s.size())
            return false;
        const auto t = static_cast<unsigned char>(s[i]);
        if (t < 0x40 || t == 0x7F || t > 0xFC)
            return false;
    }
    return true;
}

} // namespace

std::optional<std::u16string> decodeUtf8Text(std::string_view bytes) {
    bool signed8 = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    if (signed8)
        bytes.remove_prefix(3);
    std::u16string out;
    out.reserve(bytes.size());
    bool wide = false, threeOrMore = false;
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        std::size_t n = decodeAt(bytes, i, cp);
        if (n == 0)
            return std::nullopt;
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        wide = wide || n > 1;
        threeOrMore = threeOrMore || n > 2;
        i += n;
    }
    if (!signed8 && !wide)
        return std::nullopt;
    // Half-width katakana in Shift_JIS often form two-byte UTF-8 sequences ("ﾊｲ" is U+02B2),
    // while Japanese in UTF-8 takes three bytes a character: two-byte sequences alone are UTF-8
    // only when the bytes cannot be Shift_JIS.
    if (!signed8 && !threeOrMore && isWellFormedCp932(bytes))
        return std::nullopt;
    return out;
}

} // namespace platform
