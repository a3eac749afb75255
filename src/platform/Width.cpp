#include "platform/Width.h"

#include "platform/Cp932.h"
#include "platform/StringStorage.h"
#include "platform/Vectors.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <utility>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KOTORI_WIDTH_X86 1
#include <immintrin.h>
#endif

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

// Half-width form of a unit: up to two units, {0, 0} when it has none.
HalfPair halfOf(char16_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E)
        return {static_cast<char16_t>(c - kOffsetToAscii), 0};
    if (c >= 0x3000 && c <= 0x30FF)
        return kHalfOf3000[c - 0x3000];
    switch (c) {
    case u'\u2019':
        return {u'\'', 0};
    case u'\u201D':
        return {u'"', 0};
    case u'\uFFE5':
        return {u'\u00A5', 0};
    case u'\uFFE4':
        return {u'\u00A6', 0};
    default:
        return {0, 0};
    }
}

// What one unit becomes: `unit`, then a sound mark when `mark` is 1 (ﾞ) or 2 (ﾟ); `bytes` is how
// much longer that is in code page 932.
struct HalfForm {
    char16_t unit;
    std::uint8_t mark;
    std::int8_t bytes;
};

constexpr std::size_t kMinRoom = 64; // units of room below which the output grows

const std::array<HalfForm, 0x10000>& halfForms() {
    static const std::array<HalfForm, 0x10000> forms = [] {
        auto length = [](char16_t c) { return isSingleByte(c) ? 1 : 2; };
        std::array<HalfForm, 0x10000> t{};
        for (std::size_t u = 0; u < t.size(); ++u) {
            const auto c = static_cast<char16_t>(u);
            const HalfPair half = halfOf(c);
            if (half[0] == 0) {
                t[u] = {c, 0, 0};
                continue;
            }
            const int mark = half[1] == 0 ? 0 : half[1] == kHalfVoiced ? 1 : 2;
            const int bytes = length(half[0]) + (mark != 0 ? length(half[1]) : 0) - length(c);
            t[u] = {half[0], static_cast<std::uint8_t>(mark), static_cast<std::int8_t>(bytes)};
        }
        return t;
    }();
    return forms;
}

// Converts `count` units to `out`, which has room for twice as many; returns the end of what it
// wrote and adds the change in code page 932 bytes to `bytes`.
char16_t* halfRunScalar(const HalfForm* forms, const char16_t* in, std::size_t count, char16_t* out, long long& bytes) {
    long long sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const HalfForm f = forms[in[i]];
        out[0] = f.unit;
        out[1] = static_cast<char16_t>(kHalfVoiced - 1 + f.mark); // kept only after a voiced kana
        out += 1 + (f.mark != 0);
        sum += f.bytes;
    }
    bytes += sum;
    return out;
}

#ifdef KOTORI_WIDTH_X86

constexpr std::size_t kBlock = 8;
constexpr std::size_t kMaxCountedBlocks = 0x7FFF; // before a 16-bit lane count could overflow

// Lanes whose unit lies in [lo, hi]: a saturating subtraction leaves zero only there.
inline __m128i inRange(__m128i units, char16_t lo, char16_t hi) {
    const __m128i offset = _mm_sub_epi16(units, _mm_set1_epi16(static_cast<short>(lo)));
    return _mm_cmpeq_epi16(_mm_subs_epu16(offset, _mm_set1_epi16(static_cast<short>(hi - lo))), _mm_setzero_si128());
}

// Lanes that may change in some way other than full-width ASCII: ’ ”, the ideographic space and
// signs, the kana and their marks, ￤ ￥. Everything else (kanji, hiragana, ASCII) stays.
inline __m128i needsTable(__m128i units) {
    return _mm_or_si128(_mm_or_si128(inRange(units, 0x2019, 0x201D), inRange(units, 0x3000, 0x300D)),
                        _mm_or_si128(inRange(units, 0x309B, 0x30FC), inRange(units, 0xFFE4, 0xFFE5)));
}

inline long long laneSum(__m128i counts) {
    std::array<std::uint16_t, kBlock> lanes{};
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes.data()), counts);
    long long sum = 0;
    for (std::uint16_t lane : lanes)
        sum += lane;
    return sum;
}

// The blocks that hold nothing but unchanged units and full-width ASCII are converted here, the
// others by the table. Returns the units read; `end` moves past what was written.
std::size_t halfBlocks(const char16_t* in, std::size_t count, char16_t*& end, long long& bytes) {
    // A local pointer: stores through __m128i may alias anything, the caller's pointer included.
    char16_t* out = end;
    const HalfForm* forms = halfForms().data();
    const long long asciiBytes = forms[0xFF01].bytes; // each of U+FF01-FF5E saves the same
    const __m128i offset = _mm_set1_epi16(static_cast<short>(kOffsetToAscii));
    __m128i asciiCount = _mm_setzero_si128();
    std::size_t counted = 0;
    std::size_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        if (_mm_movemask_epi8(needsTable(units)) != 0) {
            out = halfRunScalar(forms, in + i, kBlock, out, bytes);
            continue;
        }
        const __m128i ascii = inRange(units, 0xFF01, 0xFF5E);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_sub_epi16(units, _mm_and_si128(ascii, offset)));
        out += kBlock;
        asciiCount = _mm_sub_epi16(asciiCount, ascii); // a matching lane is -1
        if (++counted == kMaxCountedBlocks) {
            bytes += asciiBytes * laneSum(asciiCount);
            asciiCount = _mm_setzero_si128();
            counted = 0;
        }
    }
    bytes += asciiBytes * laneSum(asciiCount);
    end = out;
    return i;
}

__attribute__((target("avx2"))) inline long long laneSumWide(__m256i counts) {
    return laneSum(_mm256_castsi256_si128(counts)) + laneSum(_mm256_extracti128_si256(counts, 1));
}

__attribute__((target("avx2"))) inline __m256i inRangeWide(__m256i units, char16_t lo, char16_t hi) {
    const __m256i offset = _mm256_sub_epi16(units, _mm256_set1_epi16(static_cast<short>(lo)));
    return _mm256_cmpeq_epi16(_mm256_subs_epu16(offset, _mm256_set1_epi16(static_cast<short>(hi - lo))),
                              _mm256_setzero_si256());
}

// halfBlocks, sixteen units at a time.
__attribute__((target("avx2"))) std::size_t halfBlocksWide(const char16_t* in, std::size_t count, char16_t*& end,
                                                           long long& bytes) {
    constexpr std::size_t wide = 2 * kBlock;
    char16_t* out = end;
    const HalfForm* forms = halfForms().data();
    const long long asciiBytes = forms[0xFF01].bytes;
    const __m256i offset = _mm256_set1_epi16(static_cast<short>(kOffsetToAscii));
    __m256i asciiCount = _mm256_setzero_si256();
    std::size_t counted = 0;
    std::size_t i = 0;
    for (; i + wide <= count; i += wide) {
        const __m256i units = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        const __m256i special =
            _mm256_or_si256(_mm256_or_si256(inRangeWide(units, 0x2019, 0x201D), inRangeWide(units, 0x3000, 0x300D)),
                            _mm256_or_si256(inRangeWide(units, 0x309B, 0x30FC), inRangeWide(units, 0xFFE4, 0xFFE5)));
        if (!_mm256_testz_si256(special, special)) {
            out = halfRunScalar(forms, in + i, wide, out, bytes);
            continue;
        }
        const __m256i ascii = inRangeWide(units, 0xFF01, 0xFF5E);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_sub_epi16(units, _mm256_and_si256(ascii, offset)));
        out += wide;
        asciiCount = _mm256_sub_epi16(asciiCount, ascii);
        if (++counted == kMaxCountedBlocks) {
            bytes += asciiBytes * laneSumWide(asciiCount);
            asciiCount = _mm256_setzero_si256();
            counted = 0;
        }
    }
    bytes += asciiBytes * laneSumWide(asciiCount);
    end = out;
    return i;
}

// halfBlocks, 32 units at a time.
__attribute__((target("avx512f,avx512bw,popcnt"))) std::size_t halfBlocksWider(const char16_t* in, std::size_t count,
                                                                               char16_t*& end, long long& bytes) {
    const auto in512 = [](__m512i units, char16_t lo, char16_t hi) __attribute__((target("avx512f,avx512bw"))) {
        return _mm512_cmple_epu16_mask(_mm512_sub_epi16(units, _mm512_set1_epi16(static_cast<short>(lo))),
                                       _mm512_set1_epi16(static_cast<short>(hi - lo)));
    };
    char16_t* out = end;
    const HalfForm* forms = halfForms().data();
    const __m512i offset = _mm512_set1_epi16(static_cast<short>(kOffsetToAscii));
    long long ascii = 0;
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m512i units = _mm512_loadu_si512(in + i);
        if ((in512(units, 0x2019, 0x201D) | in512(units, 0x3000, 0x300D) | in512(units, 0x309B, 0x30FC) |
             in512(units, 0xFFE4, 0xFFE5)) != 0) {
            out = halfRunScalar(forms, in + i, 32, out, bytes);
            continue;
        }
        const __mmask32 full = in512(units, 0xFF01, 0xFF5E);
        _mm512_storeu_si512(out, _mm512_mask_sub_epi16(units, full, units, offset));
        out += 32;
        ascii += std::popcount(static_cast<std::uint32_t>(full));
    }
    bytes += forms[0xFF01].bytes * ascii; // each of U+FF01-FF5E saves the same
    end = out;
    return i;
}

char16_t* halfRun(const char16_t* in, std::size_t count, char16_t* out, long long& bytes) {
    std::size_t i = 0;
    if (vectorsAtLeast(VectorLevel::Avx512)) // 32 at a time where the processor has AVX-512 too
        i = halfBlocksWider(in, count, out, bytes);
    if (vectorsAtLeast(VectorLevel::Avx2))
        i += halfBlocksWide(in + i, count - i, out, bytes);
    if (vectorsAtLeast(VectorLevel::Sse))
        i += halfBlocks(in + i, count - i, out, bytes);
    return halfRunScalar(halfForms().data(), in + i, count - i, out, bytes);
}

#else

char16_t* halfRun(const char16_t* in, std::size_t count, char16_t* out, long long& bytes) {
    return halfRunScalar(halfForms().data(), in, count, out, bytes);
}

#endif

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
std::u16string toHalfWidth(std::u16string_view text, long long& byteDelta, std::u16string storage) {
    const std::size_t n = text.size();
    // Only voiced kana grow, so the output starts at the input's size; each run is short enough to
    // fit even if all its units doubled, and the buffer grows (once) when room runs low.
    std::u16string out = std::move(storage);
    sizeForOverwrite(out, n + kMinRoom);
    std::size_t used = 0;
    long long bytes = 0;
    for (std::size_t i = 0; i < n;) {
        if (out.size() - used < kMinRoom)
            out.resize(used + 2 * (n - i));
        const std::size_t run = std::min(n - i, (out.size() - used) / 2);
        used = static_cast<std::size_t>(halfRun(text.data() + i, run, out.data() + used, bytes) - out.data());
        i += run;
    }
    out.resize(used);
    byteDelta = bytes;
    return out;
}

std::u16string toHalfWidth(std::u16string_view text) {
    long long byteDelta = 0;
    return toHalfWidth(text, byteDelta);
}

} // namespace platform
