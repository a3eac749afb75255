#include "core/vertical/FullWidth.h"

#include "platform/Cp932.h"
#include "platform/Width.h"

namespace core {

namespace detail {

bool isNarrow(char16_t c) {
    return platform::isSingleByte(c);
}

std::u16string widen(std::u16string_view run) {
    return platform::toFullWidth(run);
}

const char16_t* asciiWide() {
    struct Table {
        char16_t wide[128] = {};
        Table() {
            for (char16_t c = 0x20; c < 0x80; ++c) {
                const std::u16string w = platform::toFullWidth(std::u16string_view(&c, 1));
                wide[c] = w.size() == 1 ? w[0] : 0;
            }
        }
    };
    static const Table table;
    return table.wide;
}

} // namespace detail

std::u16string toFullWidthText(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    forEachFullWidth(
        text, [&out](char16_t c) { out.push_back(c); }, [](std::size_t, std::size_t) {});
    return out;
}

} // namespace core
