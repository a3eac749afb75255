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

} // namespace detail

std::u16string toFullWidthText(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    forEachFullWidth(text, [&out](char16_t c) { out.push_back(c); });
    return out;
}

} // namespace core
