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

char16_t imodeOfUnicode(std::u32string_view unicode) {
    std::u32string bare;
    for (char32_t c : unicode)
        if (c != 0xFE0E && c != 0xFE0F)
            bare += c;
    if (bare.empty())
        return 0;
    // 244 entries, asked for once per picked emoji: a plain search is enough.
    for (const EmojiSource& source : emojiSources())
        if (sequenceOf(source) == bare)
            return source.imode;
    return 0;
}

} // namespace core
