#include "core/text/TextEdit.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace core {

namespace {

// Equality by bytes: the body is compared on every keystroke, and memcmp is far quicker than
// comparing unit by unit.
bool sameUnits(const char16_t* a, const char16_t* b, std::size_t count) {
    return count == 0 || std::memcmp(a, b, count * sizeof(char16_t)) == 0;
}

constexpr std::size_t Block = 64;

std::size_t commonHead(std::u16string_view a, std::u16string_view b, std::size_t limit) {
    std::size_t i = 0;
    while (i + Block <= limit && sameUnits(a.data() + i, b.data() + i, Block))
        i += Block;
    while (i < limit && a[i] == b[i])
        ++i;
    return i;
}

std::size_t commonTail(std::u16string_view a, std::u16string_view b, std::size_t limit) {
    std::size_t i = 0;
    while (i + Block <= limit && sameUnits(a.data() + a.size() - i - Block, b.data() + b.size() - i - Block, Block))
        i += Block;
    while (i < limit && a[a.size() - 1 - i] == b[b.size() - 1 - i])
        ++i;
    return i;
}

} // namespace

bool sameAround(GapText& before, std::u16string_view after, const TextEdit& edit, std::size_t reach) {
    if (edit.pos < 0 || edit.removed < 0 || edit.added < 0)
        return false;
    auto pos = static_cast<std::size_t>(edit.pos);
    auto removed = static_cast<std::size_t>(edit.removed);
    auto added = static_cast<std::size_t>(edit.added);
    if (pos + removed > before.size() || pos + added > after.size())
        return false;
    if (before.size() - removed != after.size() - added)
        return false;
    const std::size_t head = std::min(pos, reach);
    const std::size_t tail = std::min(before.size() - pos - removed, reach);
    // Each side in one piece: the copy's gap is at its last edit, which this one usually meets.
    const std::u16string_view headBefore = before.view(pos - head, head);
    if (!sameUnits(headBefore.data(), after.data() + pos - head, head))
        return false;
    const std::u16string_view tailBefore = before.view(pos + removed, tail);
    return sameUnits(tailBefore.data(), after.data() + pos + added, tail);
}

TextEdit smallestEdit(std::u16string_view before, std::u16string_view after) {
    std::size_t head = commonHead(before, after, std::min(before.size(), after.size()));
    std::size_t tail = commonTail(before, after, std::min(before.size(), after.size()) - head);
    return {static_cast<int>(head), static_cast<int>(before.size() - head - tail),
            static_cast<int>(after.size() - head - tail)};
}

} // namespace core
