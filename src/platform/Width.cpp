#include "platform/Width.h"

#include "platform/Cp932.h"

#include <array>
#include <utility>

namespace platform {

namespace {

constexpr char16_t kHalfKanaFirst = 0xFF61;  // ｡
constexpr char16_t kHalfKanaLast = 0xFF9F;   // ﾟ
constexpr char16_t kHalfVoiced = 0xFF9E;     // ﾞ
constexpr char16_t kHalfSemiVoiced = 0xFF9F; // ﾟ
constexpr char16_t kOffsetToAscii = 0xFEE0;  // U+FF01-FF5E are ASCII 21-7E shifted

// Full-width form of each half-width katakana and sign, U+FF61 to U+FF9F.
constexpr std::array<char16_t, 63> kFullKana = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ', u'ョ', u'ッ', u'ー',
    u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ', u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ',
    u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ', u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ',
    u'ム', u'メ', u'モ', u'ヤ', u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン', u'゛', u'゜'};

// Latin-1 signs and their full-width forms.
constexpr std::array<std::pair<char16_t, char16_t>, 6> kFullSigns = {{{u'\u00A2', u'\uFFE0'},
                                                                      {u'\u00A3', u'\uFFE1'},
                                                                      {u'\u00A5', u'\uFFE5'},
                                                                      {u'\u00A6', u'\uFFE4'},
                                                                      {u'\u00AC', u'\uFFE2'},
                                                                      {u'\u00AF', u'\uFFE3'}}};

// Half-width forms U+FFE8-FFEE: │←↑→↓■○.
constexpr std::array<char16_t, 7> kFullForms = {u'\u2502', u'\u2190', u'\u2191', u'\u2192',
                                                u'\u2193', u'\u25A0', u'\u25CB'};

// The precomposed katakana of a full-width kana with a voiced (mark 1) or semi-voiced (mark 2)
// sound mark, or 0 when there is none.
constexpr char16_t composed(char16_t kana, int mark) {
    // カ to チ alternate with their voiced forms; after the small ッ the pairs shift by one.
    const bool voicable =
        (kana >= u'カ' && kana <= u'チ' && (kana - u'カ') % 2 == 0) || kana == u'ツ' || kana == u'テ' || kana == u'ト';
    const bool row = kana == u'ハ' || kana == u'ヒ' || kana == u'フ' || kana == u'ヘ' || kana == u'ホ';
    if (mark == 1) {
        if (voicable || row)
            return static_cast<char16_t>(kana + 1);
        if (kana == u'ウ')
            return u'ヴ';
        if (kana == u'ワ')
            return u'ヷ';
        if (kana == u'ヲ')
            return u'ヺ';
        return 0;
    }
    return row ? static_cast<char16_t>(kana + 2) : 0;
}

// Half-width form of each character U+3000-30FF: up to two units, {0, 0} when there is none.
using HalfPair = std::array<char16_t, 2>;
constexpr std::array<HalfPair, 256> makeHalfTable() {
    std::array<HalfPair, 256> table{};
    for (std::size_t i = 0; i < kFullKana.size(); ++i) {
        const char16_t half = static_cast<char16_t>(kHalfKanaFirst + i);
        const char16_t full = kFullKana[i];
        table[full - 0x3000] = {half, 0};
        for (int mark = 1; mark <= 2; ++mark) {
            if (const char16_t both = composed(full, mark))
                table[both - 0x3000] = {half, mark == 1 ? kHalfVoiced : kHalfSemiVoiced};
        }
    }
    table[0] = {u' ', 0};
    return table;
}
constexpr std::array<HalfPair, 256> kHalfOf3000 = makeHalfTable();

char16_t fullOfSingle(char16_t c) {
    if (c > 0x20 && c < 0x7F)
        return static_cast<char16_t>(c + kOffsetToAscii);
    if (c == u' ')
        return u'\u3000';
    if (c >= 0xFFE8 && c <= 0xFFEE)
        return kFullForms[c - 0xFFE8];
    if (c >= 0xA2 && c <= 0xAF) {
        for (const auto& [half, full] : kFullSigns) {
            if (c == half)
                return full;
        }
    }
    return c;
}

} // namespace

// A kana followed by a sound mark becomes one character only where code page 932 can write it
// (ｶﾞ → ガ, ｳﾞ → ヴ), otherwise the kana and a separate full-width mark (ﾜﾞ → ワ゛).
std::u16string toFullWidth(std::u16string_view text) {
    std::u16string out(text.size(), u'\0');
    char16_t* p = out.data();
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char16_t c = text[i];
        if (c < kHalfKanaFirst || c > kHalfKanaLast) {
            *p++ = c >= 0x3000 && c < 0xFF01 ? c : fullOfSingle(c); // kana and kanji first
            continue;
        }
        const char16_t kana = kFullKana[c - kHalfKanaFirst];
        if (i + 1 < size && (text[i + 1] == kHalfVoiced || text[i + 1] == kHalfSemiVoiced)) {
            const char16_t both = composed(kana, text[i + 1] == kHalfVoiced ? 1 : 2);
            if (both != 0 && hasCp932Form(both)) {
                *p++ = both;
                ++i;
                continue;
            }
        }
        *p++ = kana;
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
    return out;
}

// Only characters whose half-width form code page 932 can write are converted: the half-width
// arrows and shapes (U+FFE8-FFEE) would turn into '?' in a saved mail, so ←, ■ and the like stay.
// ￠￡￢￣ stay too: their Latin-1 forms are written as the very same two bytes.
std::u16string toHalfWidth(std::u16string_view text) {
    std::u16string out(text.size() * 2, u'\0');
    char16_t* p = out.data();
    for (char16_t c : text) {
        if (c < 0x2019 || (c > 0x30FF && c < 0xFF01)) { // no half-width form below ’ or between the kana and U+FF01
            *p++ = c;
        } else if (c <= 0xFF5E && c >= 0xFF01) {
            *p++ = static_cast<char16_t>(c - kOffsetToAscii);
        } else if (c >= 0x3000 && c <= 0x30FF && kHalfOf3000[c - 0x3000][0] != 0) {
            const HalfPair& half = kHalfOf3000[c - 0x3000];
            *p++ = half[0];
            if (half[1] != 0)
                *p++ = half[1];
        } else if (c == u'\u2019') {
            *p++ = u'\'';
        } else if (c == u'\u201D') {
            *p++ = u'"';
        } else if (c == u'\uFFE5') {
            *p++ = u'\u00A5';
        } else if (c == u'\uFFE4') {
            *p++ = u'\u00A6';
        } else {
            *p++ = c;
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
    return out;
}

} // namespace platform
