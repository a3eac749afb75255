#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// The i-mode emoji and their Unicode counterparts (Unicode's EmojiSources, DoCoMo column).
// An i-mode emoji is the private-use character code page 932 gives its Shift_JIS code
// (F89F-F9FC on U+E63E-U+E757).
namespace core {

inline constexpr char16_t FirstImodeEmoji = 0xE63E;
inline constexpr char16_t LastImodeEmoji = 0xE757;

struct EmojiSource {
    char16_t imode;
    char32_t unicode[2]; // a code point, or a keycap's digit and U+20E3; 0 pads
};

extern const EmojiSource kEmojiSources[];
extern const std::size_t kEmojiSourceCount;

// Every mapping, by i-mode character ascending.
std::span<const EmojiSource> emojiSources();

inline bool isImodeEmoji(char16_t c) {
    return c >= FirstImodeEmoji && c <= LastImodeEmoji;
}

// The Unicode sequence of an i-mode emoji, empty when it has none.
std::u32string unicodeOfImode(char16_t imode);

} // namespace core
