#include "core/text/WeightedCount.h"

#include "core/app/Strings.h"
#include "core/text/NumberFormat.h"
#include "platform/Cp932.h"

namespace core {

double weightedCount(std::u16string_view text) {
    return static_cast<double>(platform::sjisLength(text)) / 2;
}

double unitWeight(char16_t unit) {
    return platform::isSingleByte(unit) ? 0.5 : 1.0;
}

std::u16string countDisplay(double count, std::size_t length, bool withCost) {
    std::u16string out;
    if (withCost) {
        out += u"\\≒";
        out += oneDecimal(count * CostPerCharacter);
        out += u"円 ";
    }
    out += oneDecimal(count);
    out += u"文字 (";
    out += decimal(static_cast<long long>(length));
    out += u")";
    return out;
}

} // namespace core
