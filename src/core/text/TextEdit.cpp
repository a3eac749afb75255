#include "core/text/TextEdit.h"

#include <algorithm>
#include <cstddef>

namespace core {

bool sameAround(std::u16string_view before, std::u16string_view after, const TextEdit& edit) {
    if (edit.pos < 0 || edit.removed < 0 || edit.added < 0)
        return false;
    auto pos = static_cast<std::size_t>(edit.pos);
    auto removed = static_cast<std::size_t>(edit.removed);
    auto added = static_cast<std::size_t>(edit.added);
    if (pos + removed > before.size() || pos + added > after.size())
        return false;
    if (before.size() - removed != after.size() - added)
        return false;
    return before.substr(0, pos) == after.substr(0, pos) && before.substr(pos + removed) == after.substr(pos + added);
}

TextEdit smallestEdit(std::u16string_view before, std::u16string_view after) {
    std::size_t limit = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < limit && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < limit - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return {static_cast<int>(head), static_cast<int>(before.size() - head - tail),
            static_cast<int>(after.size() - head - tail)};
}

} // namespace core
