#include "platform/Cp932.h"

#include "platform/Cp932Tables.h"

namespace platform {

namespace {

constexpr char16_t kDefaultChar = u'\u30FB';

std::uint16_t codeOf(char16_t unit) {
    return cp932::kEncodeBlocks[cp932::kEncodePage[unit >> 8] * 256 + (unit & 0xFF)];
}

bool isTwoByte(char16_t unit) {
    return (cp932::kTwoByteBits[unit >> 6] >> (unit & 63)) & 1;
}

} // namespace

std::string encodeCp932(std::u16string_view text) {
    std::string out(text.size() * 2, '\0');
    std::size_t n = 0;
    for (char16_t unit : text) {
        if (unit < 0x80) {
            out[n++] = static_cast<char>(unit);
            continue;
        }
        const std::uint16_t code = codeOf(unit);
        if (code == cp932::kNoForm) {
            out[n++] = '?';
        } else if (code < 0x100) {
            out[n++] = static_cast<char>(code);
        } else {
            out[n++] = static_cast<char>(code >> 8);
            out[n++] = static_cast<char>(code & 0xFF);
        }
    }
    out.resize(n);
    return out;
}

// A lead byte followed by a byte that cannot be its second byte (a line break, say) becomes U+30FB
// on its own, and the following byte is read afresh, so a damaged character never swallows the
// character after it. A pair with a valid second byte but no assignment becomes one U+30FB.
std::u16string decodeCp932(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    std::size_t n = 0;
    const std::size_t size = bytes.size();
    for (std::size_t i = 0; i < size;) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out[n++] = b;
            ++i;
            continue;
        }
        const int row = cp932::kLeadRow[b];
        if (row == 0) {
            out[n++] = cp932::kSingle[b];
            ++i;
            continue;
        }
        const char16_t c =
            i + 1 < size ? cp932::kDouble[(row - 1) * 256 + static_cast<unsigned char>(bytes[i + 1])] : u'\0';
        if (c == u'\0') {
            out[n++] = kDefaultChar;
            ++i;
        } else {
            out[n++] = c;
            i += 2;
        }
    }
    out.resize(n);
    return out;
}

std::size_t sjisLength(std::u16string_view text) {
    std::size_t length = text.size();
    for (char16_t unit : text)
        length += isTwoByte(unit);
    return length;
}

bool isSingleByte(char16_t unit) {
    return !isTwoByte(unit);
}

bool hasCp932Form(char16_t unit) {
    return codeOf(unit) != cp932::kNoForm;
}

} // namespace platform
