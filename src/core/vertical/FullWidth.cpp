#include "core/vertical/FullWidth.h"

#include "platform/Cp932.h"
#include "platform/Width.h"

namespace core::fullwidth {

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

} // namespace core::fullwidth
