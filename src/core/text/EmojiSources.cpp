#include "core/text/EmojiSources.h"

#include <algorithm>

namespace core {

namespace {

std::u32string sequenceOf(const EmojiSource& source) {
    std::u32string out;
    for (char32_t c : source.unicode)
        if (c != 0)
            out += c;
    return out;
}

} // namespace

std::span<const EmojiSource> emojiSources() {
    return {kEmojiSources, kEmojiSourceCount};
}

std::u32string unicodeOfImode(char16_t imode) {
    auto all = emojiSources();
    auto it =
        std::lower_bound(all.begin(), all.end(), imode, [](const EmojiSource& s, char16_t c) { return s.imode < c; });
    if (it == all.end() || it->imode != imode)
        return {};
    return sequenceOf(*it);
}

} // namespace core
