// Placeholder until the table-driven codec lands: ASCII only.
#include "platform/Cp932.h"

namespace platform {

std::string encodeCp932(std::u16string_view text) {
    std::string out;
    for (char16_t c : text)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

std::u16string decodeCp932(std::string_view bytes) {
    std::u16string out;
    for (char b : bytes)
        out.push_back(static_cast<unsigned char>(b) < 0x80 ? static_cast<char16_t>(b) : u'\u30FB');
    return out;
}

std::size_t sjisLength(std::u16string_view text) { return encodeCp932(text).size(); }
bool isSingleByte(char16_t unit) { return unit < 0x80; }
bool hasCp932Form(char16_t unit) { return unit < 0x80; }

} // namespace platform
