#include "platform/Cp932.h"

#include "platform/Cp932Tables.h"
#include "platform/Vectors.h"

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#define KOTORI_CP932_SSE2 1
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KOTORI_CP932_AVX2 1
#include <immintrin.h>
#endif

namespace platform {

namespace {

constexpr char16_t kDefaultChar = u'\u30FB';

std::uint16_t codeOf(char16_t unit) {
    return cp932::kEncodeBlocks[cp932::kEncodePage[unit >> 8] * 256 + (unit & 0xFF)];
}

bool isTwoByte(char16_t unit) {
    return (cp932::kTwoByteBits[unit >> 6] >> (unit & 63)) & 1;
}

// Per unit, the bytes it encodes to in memory order (low 16 bits) and how many of them count
// (above): two bytes are stored for every unit, so the loop has no branch on the kind of text.
const std::uint32_t* encodings() {
    static const std::vector<std::uint32_t> table = [] {
        std::vector<std::uint32_t> t(0x10000);
        for (std::size_t u = 0; u < t.size(); ++u) {
            const std::uint16_t code = u < 0x80 ? static_cast<std::uint16_t>(u) : codeOf(static_cast<char16_t>(u));
            if (code == cp932::kNoForm)
                t[u] = 1u << 16 | '?';
            else if (code < 0x100)
                t[u] = 1u << 16 | code;
            else
                t[u] = 2u << 16 | (code & 0xFFu) << 8 | code >> 8;
        }
        return t;
    }();
    return table.data();
}

} // namespace

std::string encodeCp932(std::u16string_view text) {
    std::string out(text.size() * 2, '\0');
    unsigned char* p = reinterpret_cast<unsigned char*>(out.data());
    const std::uint32_t* const table = encodings();
    // At most two bytes a unit: the two stored for the last unit still fall inside out.
    for (char16_t unit : text) {
        const std::uint32_t e = table[unit];
        p[0] = static_cast<unsigned char>(e);
        p[1] = static_cast<unsigned char>(e >> 8);
        p += e >> 16;
    }
    out.resize(static_cast<std::size_t>(p - reinterpret_cast<unsigned char*>(out.data())));
    return out;
}

// A lead byte followed by a byte that cannot be its second byte (a line break, say) becomes U+30FB
// on its own, and the following byte is read afresh, so a damaged character never swallows the
// character after it. A pair with a valid second byte but no assignment becomes one U+30FB.
std::u16string decodeCp932(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    char16_t* p = out.data();
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    // One branch per character (pair or not) keeps mixed text fast.
    while (i + 1 < size) {
        const unsigned char b = in[i];
        const int row = cp932::kLeadRow[b];
        if (row == 0) {
            *p++ = cp932::kSingle[b];
            ++i;
            continue;
        }
        const char16_t c = cp932::kDouble[(row - 1) * 256 + in[i + 1]];
        if (c == u'\0') {
            *p++ = kDefaultChar;
            ++i;
        } else {
            *p++ = c;
            i += 2;
        }
    }
    if (i < size)
        *p++ = cp932::kLeadRow[in[i]] != 0 ? kDefaultChar : cp932::kSingle[in[i]];
    out.resize(static_cast<std::size_t>(p - out.data()));
    return out;
}

const unsigned char* unitLengths() {
    // A byte per unit (64 KB) beats the bit set in loops: no shifts.
    static const std::array<unsigned char, 0x10000> lengths = [] {
        std::array<unsigned char, 0x10000> table{};
        for (std::size_t u = 0; u < table.size(); ++u)
            table[u] = isTwoByte(static_cast<char16_t>(u)) ? 2 : 1;
        return table;
    }();
    return lengths.data();
}

std::size_t sjisLength(std::u16string_view text) {
    // Four sums run side by side.
    const unsigned char* const lengths = unitLengths();
    const char16_t* p = text.data();
    const std::size_t size = text.size();
    std::size_t a = 0, b = 0, c = 0, d = 0;
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        a += lengths[p[i]];
        b += lengths[p[i + 1]];
        c += lengths[p[i + 2]];
        d += lengths[p[i + 3]];
    }
    for (; i < size; ++i)
        a += lengths[p[i]];
    return a + b + c + d;
}

bool isSingleByte(char16_t unit) {
    return !isTwoByte(unit);
}

bool hasCp932Form(char16_t unit) {
    return codeOf(unit) != cp932::kNoForm;
}

#ifdef KOTORI_CP932_SSE2
namespace {

// Most of a mail is ASCII, kana and i-mode emoji, ranges in which every unit has a form: the
// vector loops pass a block whose units all lie in them.
struct UnitRange {
    char16_t first, last;
};
constexpr UnitRange AllWithForm[4] = {{0x0000, 0x007F}, {0x3041, 0x3093}, {0x30A1, 0x30F6}, {0xE000, 0xE757}};

} // namespace
#endif

#ifdef KOTORI_CP932_AVX2
namespace {

// Lanes from r.first to r.last: all ones when in, else 0.
__attribute__((target("avx2"))) inline __m256i inRange(__m256i units, UnitRange r) {
    // Shifted by 0x8000 so that the signed comparison orders the offsets as unsigned.
    const __m256i offset = _mm256_sub_epi16(units, _mm256_set1_epi16(static_cast<short>(r.first + 0x8000)));
    return _mm256_cmpgt_epi16(_mm256_set1_epi16(static_cast<short>(r.last - r.first + 1 - 0x8000)), offset);
}

__attribute__((target("avx2"))) inline __m256i withForm(__m256i units) {
    return _mm256_or_si256(_mm256_or_si256(inRange(units, AllWithForm[0]), inRange(units, AllWithForm[1])),
                           _mm256_or_si256(inRange(units, AllWithForm[2]), inRange(units, AllWithForm[3])));
}

// The first unit without a form in the 32-unit blocks from the start, npos when none; `done`
// gets where the blocks end.
__attribute__((target("avx2"))) std::size_t firstWithoutFormWide(const char16_t* p, std::size_t n, std::size_t& done) {
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i low = withForm(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i)));
        const __m256i high = withForm(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 16)));
        if (static_cast<unsigned>(_mm256_movemask_epi8(_mm256_and_si256(low, high))) == 0xFFFFFFFFu)
            continue;
        // Only the units outside the ranges are looked up: a bit each, at even places.
        std::uint64_t outside = ~(std::uint64_t{static_cast<unsigned>(_mm256_movemask_epi8(low))} |
                                  std::uint64_t{static_cast<unsigned>(_mm256_movemask_epi8(high))} << 32) &
                                0x5555555555555555u;
        for (; outside != 0; outside &= outside - 1)
            if (const std::size_t j = i + static_cast<std::size_t>(std::countr_zero(outside)) / 2; !hasCp932Form(p[j]))
                return j;
    }
    done = i;
    return std::u16string_view::npos;
}

// As firstWithoutFormWide, 32 units a block.
__attribute__((target("avx512f,avx512bw"))) std::size_t firstWithoutFormWider(const char16_t* p, std::size_t n,
                                                                              std::size_t& done) {
    const auto in = [](__m512i units, UnitRange r) __attribute__((target("avx512f,avx512bw"))) {
        return _mm512_cmple_epu16_mask(_mm512_sub_epi16(units, _mm512_set1_epi16(static_cast<short>(r.first))),
                                       _mm512_set1_epi16(static_cast<short>(r.last - r.first)));
    };
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m512i units = _mm512_loadu_si512(p + i);
        if ((in(units, AllWithForm[0]) | in(units, AllWithForm[1]) | in(units, AllWithForm[2]) |
             in(units, AllWithForm[3])) == 0xFFFFFFFFu)
            continue;
        for (std::size_t j = i; j < i + 32; ++j)
            if (!hasCp932Form(p[j]))
                return j;
    }
    done = i;
    return std::u16string_view::npos;
}

} // namespace
#endif

std::size_t firstWithoutCp932Form(std::u16string_view text) {
    std::size_t i = 0;
#ifdef KOTORI_CP932_AVX2
    // 32 at a time where the processor has AVX2; the loops below take the rest.
    if (vectorsAtLeast(VectorLevel::Avx512)) { // in one register where it has AVX-512 too
        const std::size_t found = firstWithoutFormWider(text.data(), text.size(), i);
        if (found != std::u16string_view::npos)
            return found;
    }
    if (vectorsAtLeast(VectorLevel::Avx2)) { // the processor has AVX2 then
        std::size_t more = 0;
        const std::size_t found = firstWithoutFormWide(text.data() + i, text.size() - i, more);
        if (found != std::u16string_view::npos)
            return i + found;
        i += more;
    }
#endif
#ifdef KOTORI_CP932_SSE2
    // Eight units at a time otherwise. Every text edit of the body is checked, and a command's
    // edit can span all of it.
    auto in = [](__m128i units, UnitRange r) {
        const __m128i flip = _mm_set1_epi16(static_cast<short>(0x8000));
        __m128i offset = _mm_sub_epi16(units, _mm_set1_epi16(static_cast<short>(r.first)));
        return _mm_cmplt_epi16(_mm_xor_si128(offset, flip),
                               _mm_xor_si128(_mm_set1_epi16(static_cast<short>(r.last - r.first + 1)), flip));
    };
    const std::size_t blocks = vectorsAtLeast(VectorLevel::Sse) ? text.size() : 0;
    for (; i + 8 <= blocks; i += 8) {
        __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
        __m128i plain = _mm_or_si128(_mm_or_si128(in(units, AllWithForm[0]), in(units, AllWithForm[1])),
                                     _mm_or_si128(in(units, AllWithForm[2]), in(units, AllWithForm[3])));
        if (_mm_movemask_epi8(plain) == 0xFFFF)
            continue;
        for (std::size_t j = i; j < i + 8; ++j)
            if (!hasCp932Form(text[j]))
                return j;
    }
#endif
    for (; i < text.size(); ++i)
        if (!hasCp932Form(text[i]))
            return i;
    return std::u16string_view::npos;
}

} // namespace platform
