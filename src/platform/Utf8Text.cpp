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

} // namespace

std::optional<std::u16string> decodeUtf8Text(std::string_view bytes) {
    bool signed8 = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    if (signed8)
        bytes.remove_prefix(3);
    std::u16string out;
    out.reserve(bytes.size());
    bool wide = false;
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
        i += n;
    }
    if (!signed8 && !wide)
        return std::nullopt;
    return out;
}

} // namespace platform
