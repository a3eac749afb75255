#include "core/text/PhoneText.h"

#include "core/text/EmojiSources.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace core {

namespace {

constexpr char16_t TextStyle = 0xFE0E;
constexpr char16_t EmojiStyle = 0xFE0F;
constexpr char16_t Keycap = 0x20E3;

// The forms a JIS-minded input method types, and the ones Windows (code page 932) holds.
char16_t cp932Counterpart(char16_t c) {
    switch (c) {
    case 0x301C: // WAVE DASH
        return 0xFF5E;
    case 0x2212: // MINUS SIGN
        return 0xFF0D;
    case 0x2016: // DOUBLE VERTICAL LINE
        return 0x2225;
    case 0x2014: // EM DASH
        return 0x2015;
    case 0x203E: // OVERLINE
        return 0xFFE3;
    default:
        return 0;
    }
}

bool isHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool isSelector(char16_t c) {
    return c == TextStyle || c == EmojiStyle;
}

// The code point at i and the units it takes.
char32_t codePointAt(std::u16string_view text, std::size_t i, std::size_t& units) {
    char16_t c = text[i];
    if (isHigh(c) && i + 1 < text.size() && isLow(text[i + 1])) {
        units = 2;
        return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
    }
    units = 1;
    return c;
}

bool hasForm(char32_t cp) {
    return cp < 0x10000 && platform::hasCp932Form(static_cast<char16_t>(cp));
}

struct EmojiKey {
    char32_t first, second;
    char16_t imode;
};

// The table by Unicode sequence, for a binary search per candidate.
const std::vector<EmojiKey>& emojiIndex() {
    static const std::vector<EmojiKey> index = [] {
        std::vector<EmojiKey> keys;
        for (const EmojiSource& s : emojiSources())
            keys.push_back({s.unicode[0], s.unicode[1], s.imode});
        std::sort(keys.begin(), keys.end(), [](const EmojiKey& a, const EmojiKey& b) {
            return a.first != b.first ? a.first < b.first : a.second < b.second;
        });
        return keys;
    }();
    return index;
}

char16_t imodeOf(char32_t first, char32_t second) {
    const auto& index = emojiIndex();
    auto it = std::lower_bound(index.begin(), index.end(), EmojiKey{first, second, 0},
                               [](const EmojiKey& a, const EmojiKey& b) {
                                   return a.first != b.first ? a.first < b.first : a.second < b.second;
                               });
    return it != index.end() && it->first == first && it->second == second ? it->imode : 0;
}

// Skin tones: the phone's emoji have none.
bool isToneAt(std::u16string_view text, std::size_t i) {
    return i + 1 < text.size() && text[i] == 0xD83C && text[i + 1] >= 0xDFFB && text[i + 1] <= 0xDFFF;
}

// The i-mode emoji written at i and the units it takes, or 0.
char16_t emojiAt(std::u16string_view text, std::size_t i, std::size_t& units) {
    std::size_t n = 0;
    char32_t first = codePointAt(text, i, n);
    std::size_t j = i + n;
    bool emojiStyle = false;
    while (j < text.size() && isSelector(text[j])) {
        emojiStyle = emojiStyle || text[j] == EmojiStyle;
        ++j;
    }
    char16_t imode = 0;
    if (j < text.size() && text[j] == Keycap) {
        imode = imodeOf(first, Keycap);
        ++j;
        while (j < text.size() && isSelector(text[j]))
            ++j;
    } else if (emojiStyle || !hasForm(first)) {
        imode = imodeOf(first, 0);
    }
    if (imode == 0)
        return 0;
    while (isToneAt(text, j))
        j += 2;
    units = j - i;
    return imode;
}

std::optional<PhoneText> phoneTextOnce(std::u16string_view text, bool emoji) {
    // Nearly every edit is text code page 932 carries: one look per unit decides.
    std::size_t i = platform::firstWithoutCp932Form(text);
    if (i == std::u16string_view::npos)
        return std::nullopt;
    // An emoji may start one character before (a keycap's digit, a symbol before its selector).
    i -= std::min<std::size_t>(i, 2);
    PhoneText out;
    out.text.reserve(text.size());
    out.text.append(text.substr(0, i));
    bool changed = false;
    while (i < text.size()) {
        char16_t c = text[i];
        bool plain = platform::hasCp932Form(c) && (i + 1 == text.size() || platform::hasCp932Form(text[i + 1]));
        if (!plain && emoji) {
            std::size_t units = 0;
            if (char16_t imode = emojiAt(text, i, units)) {
                out.text += imode;
                out.emoji += imode;
                i += units;
                changed = true;
                continue;
            }
        }
        if (emoji && isSelector(c)) {
            // Presentation alone, after a character kept as it is: code page 932 has no such thing.
            changed = true;
        } else if (char16_t counterpart = cp932Counterpart(c)) {
            out.text += counterpart;
            changed = true;
        } else {
            out.text += c;
        }
        ++i;
    }
    if (!changed)
        return std::nullopt;
    return out;
}

} // namespace

std::optional<PhoneText> phoneText(std::u16string_view text, bool emoji) {
    // A dropped selector can bring together what it stood between (broken surrogate pairs):
    // go on until the text stays, so rewriting rewritten text never changes it again.
    std::optional<PhoneText> out = phoneTextOnce(text, emoji);
    for (int round = 0; out && round < 4; ++round) {
        std::optional<PhoneText> again = phoneTextOnce(out->text, emoji);
        if (!again)
            break;
        out->text = std::move(again->text);
        out->emoji += again->emoji;
    }
    return out;
}

bool clingsToPrevious(char16_t unit) {
    return isSelector(unit) || unit == Keycap || isLow(unit);
}

bool toPhoneLine(std::u16string& text, int& caret, bool emoji) {
    std::optional<PhoneText> fixed = phoneText(text, emoji);
    if (!fixed)
        return false;
    if (caret > 0 && static_cast<std::size_t>(caret) <= text.size()) {
        std::optional<PhoneText> before = phoneText(std::u16string_view(text).substr(0, std::size_t(caret)), emoji);
        if (before)
            caret = static_cast<int>(before->text.size());
    }
    caret = std::min(caret, static_cast<int>(fixed->text.size()));
    text = std::move(fixed->text);
    return true;
}

void addUnsendable(std::u16string_view text, std::u16string& found) {
    std::unordered_set<char32_t> seen;
    for (std::size_t i = 0, n = 0; i < found.size(); i += n)
        seen.insert(codePointAt(found, i, n));
    for (std::size_t i = 0, n = 0; i < text.size(); i += n) {
        char32_t cp = codePointAt(text, i, n);
        if (!hasForm(cp) && seen.insert(cp).second)
            found.append(text.substr(i, n));
    }
}

} // namespace core
