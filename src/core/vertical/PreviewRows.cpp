#include "core/vertical/PreviewRows.h"

#include "core/vertical/TextScan.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <numeric>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KOTORI_ROWS_AVX2 1
#include "platform/Vectors.h"

#include <cpuid.h>
#include <immintrin.h>
#endif

namespace core {

namespace {

// Per UTF-16 unit: its positions in a row (1 or 2, its length in code page 932), or 0 for the
// units the walk looks at closer: CR, LF and a high surrogate.
const unsigned char* unitKinds() {
    static const std::array<unsigned char, 0x10000> kinds = [] {
        std::array<unsigned char, 0x10000> table{};
        const unsigned char* lengths = platform::unitLengths();
        for (std::size_t u = 0; u < table.size(); ++u)
            table[u] = lengths[u];
        table[u'\r'] = table[u'\n'] = 0;
        for (std::size_t u = 0xD800; u < 0xDC00; ++u)
            table[u] = 0;
        return table;
    }();
    return kinds.data();
}

// Units are laid out a span at a time; a span is cut short before a CR, LF or high surrogate.
// A keystroke's layout, which stops a row or two after the edit, looks at a short one; a long
// layout takes longer ones, which spend less on each span's first and last rows.
constexpr std::size_t ShortSpan = 256, Span = 1024;
// Text this long to lay out before anything is asked, or laid out already, is a command's (or a
// long line's), not a keystroke's: worth the widest vectors and the longer spans.
constexpr std::size_t LongRun = 4096;

// Sets bit j of twos[j / 8] for the units from `from` that take two positions, and clears it
// for the others (the bits before `from` stay); stops before a CR, LF or high surrogate and
// returns where, else at `to`.
inline std::size_t twosByTable(const char16_t* at, std::size_t from, std::size_t to, const unsigned char* kinds,
                               std::uint8_t* twos) {
    std::size_t j = from - from % 8;
    if (j == from) {
        // Eight units a step with one test for all: a kind less one is 0 or 1, and all ones for
        // a unit to stop before.
        for (; j + 8 <= to; j += 8) {
            unsigned byte = 0, stops = 0;
            for (std::size_t k = 0; k < 8; ++k) {
                const unsigned bit = kinds[at[j + k]] - 1u;
                stops |= bit;
                byte |= bit << k;
            }
            if (stops > 1)
                break;
            twos[j / 8] = static_cast<std::uint8_t>(byte);
        }
    }
    for (; j < to; j += 8) {
        unsigned byte = j < from ? twos[j / 8] & ((1u << (from - j)) - 1) : 0;
        const std::size_t stop = std::min(to, j + 8);
        for (std::size_t u = std::max(j, from); u < stop; ++u) {
            const unsigned kind = kinds[at[u]];
            if (kind == 0) {
                twos[j / 8] = static_cast<std::uint8_t>(byte);
                return u;
            }
            byte |= (kind - 1) << (u - j);
        }
        twos[j / 8] = static_cast<std::uint8_t>(byte);
    }
    return to;
}

#ifdef KOTORI_ROWS_AVX2
// A lane for each unit from first to last: all ones when in, else 0.
__attribute__((target("avx2"))) inline __m256i inRange(__m256i units, char16_t first, char16_t last) {
    // Shifted by 0x8000 so that the signed comparison orders the offsets as unsigned.
    const __m256i offset = _mm256_sub_epi16(units, _mm256_set1_epi16(static_cast<short>(first + 0x8000)));
    return _mm256_cmpgt_epi16(_mm256_set1_epi16(static_cast<short>(last - first + 1 - 0x8000)), offset);
}

// The units the table need not be asked about: ASCII from 0x0E (no CR or LF) takes one
// position, hiragana, katakana and the emoji area two.
struct UnitRange {
    char16_t first, last;
};
constexpr UnitRange OnePosition{0x0E, 0x7F};
constexpr UnitRange TwoPositions[3] = {{0x3041, 0x3093}, {0x30A1, 0x30F6}, {0xE000, 0xE757}};

// The lanes of those units (the two-position ones in `two`).
__attribute__((target("avx2"))) inline __m256i classify(__m256i units, __m256i& two) {
    const auto in = [&](UnitRange r) __attribute__((target("avx2"))) {
        return inRange(units, r.first, r.last);
    };
    two = _mm256_or_si256(_mm256_or_si256(in(TwoPositions[0]), in(TwoPositions[1])), in(TwoPositions[2]));
    return _mm256_or_si256(two, in(OnePosition));
}

// twosByTable 32 units at a time where every unit is one the table need not be asked about.
// Goes on to the last whole 32 before `limit`; returns where it stopped.
__attribute__((target("avx2"))) std::size_t twosByThirtyTwos(const char16_t* at, std::size_t limit,
                                                             const unsigned char* kinds, std::uint8_t* twos) {
    std::size_t count = 0;
    for (; count + 32 <= limit; count += 32) {
        __m256i low, high;
        const __m256i known =
            _mm256_and_si256(classify(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + count)), low),
                             classify(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + count + 16)), high));
        if (static_cast<unsigned>(_mm256_movemask_epi8(known)) != 0xFFFFFFFFu) {
            if (const std::size_t stop = twosByTable(at, count, count + 32, kinds, twos); stop < count + 32)
                return stop;
            continue;
        }
        // A byte a unit, the halves' quarters put back in order: a bit a unit.
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi16(low, high), 0xD8);
        const auto mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(packed));
        std::memcpy(twos + count / 8, &mask, sizeof mask);
    }
    return count;
}

// The lanes of units in r.
__attribute__((target("avx512f,avx512bw,avx512vl"))) inline __mmask16 lanesIn(__m256i units, UnitRange r) {
    return _mm256_cmple_epu16_mask(_mm256_sub_epi16(units, _mm256_set1_epi16(static_cast<short>(r.first))),
                                   _mm256_set1_epi16(static_cast<short>(r.last - r.first)));
}

// For sixteen units, a bit for each that takes two positions; `known` gets the lanes of the
// units the table need not be asked about.
__attribute__((target("avx512f,avx512bw,avx512vl"))) inline __mmask16 twosOf(const char16_t* at, __mmask16& known) {
    const __m256i units = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __mmask16 two =
        lanesIn(units, TwoPositions[0]) | lanesIn(units, TwoPositions[1]) | lanesIn(units, TwoPositions[2]);
    known = two | lanesIn(units, OnePosition);
    return two;
}

// twosByThirtyTwos with a bit a unit in mask registers (at 256 bits: the keystroke's layout runs
// it, and full-width vectors cost the processor time to start).
__attribute__((target("avx512f,avx512bw,avx512vl"))) std::size_t
twosByMasks(const char16_t* at, std::size_t limit, const unsigned char* kinds, std::uint8_t* twos) {
    std::size_t count = 0;
    for (; count + 32 <= limit; count += 32) {
        __mmask16 knownLow, knownHigh;
        const __mmask16 low = twosOf(at + count, knownLow), high = twosOf(at + count + 16, knownHigh);
        if ((knownLow & knownHigh) != 0xFFFF) {
            if (const std::size_t stop = twosByTable(at, count, count + 32, kinds, twos); stop < count + 32)
                return stop;
            continue;
        }
        const std::uint32_t bits = static_cast<std::uint32_t>(low) | static_cast<std::uint32_t>(high) << 16;
        std::memcpy(twos + count / 8, &bits, sizeof bits);
    }
    return count;
}

// twosByMasks at full width, for long layouts (where the processor's start-up time for them,
// if it has one, is spent once for many spans).
__attribute__((target("avx512f,avx512bw"))) std::size_t
twosByWideMasks(const char16_t* at, std::size_t limit, const unsigned char* kinds, std::uint8_t* twos) {
    const auto in = [](__m512i units, UnitRange r) __attribute__((target("avx512f,avx512bw"))) {
        return _mm512_cmple_epu16_mask(_mm512_sub_epi16(units, _mm512_set1_epi16(static_cast<short>(r.first))),
                                       _mm512_set1_epi16(static_cast<short>(r.last - r.first)));
    };
    std::size_t count = 0;
    for (; count + 32 <= limit; count += 32) {
        const __m512i units = _mm512_loadu_si512(at + count);
        const __mmask32 two = in(units, TwoPositions[0]) | in(units, TwoPositions[1]) | in(units, TwoPositions[2]);
        if ((two | in(units, OnePosition)) != 0xFFFFFFFFu) {
            if (const std::size_t stop = twosByTable(at, count, count + 32, kinds, twos); stop < count + 32)
                return stop;
            continue;
        }
        const auto bits = static_cast<std::uint32_t>(two);
        std::memcpy(twos + count / 8, &bits, sizeof bits);
    }
    return count;
}

// AMD processors before Zen 3 deposit and extract bits in microcode, hundreds of cycles each:
// the table does better there.
bool fastBitDeposit() {
    static const bool fast = [] {
        unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
        if (!__get_cpuid(0, &eax, &ebx, &ecx, &edx))
            return false;
        const bool amd = ebx == 0x68747541; // "Auth" of "AuthenticAMD"
        if (!amd || !__get_cpuid(1, &eax, &ebx, &ecx, &edx))
            return true;
        const unsigned base = (eax >> 8) & 0xF;
        return base + (base == 0xF ? (eax >> 20) & 0xFF : 0) >= 0x19;
    }();
    return fast;
}

#endif

#ifdef KOTORI_ROWS_AVX2
// Rows of `take` units each, CR LF after each: 32 output units at a time, each lane picking its
// unit from the 32 read at the rows' next unit. What the lanes pick repeats every few vectors,
// and is worked out once for each row length.
struct RowPattern {
    static constexpr std::size_t Most = 33; // vectors before the lanes repeat, for rows up to 64 units
    // (roomy spans, the only ones written this way, have rows of at most 32)
    std::size_t take = 0, cycle = 0;
    std::uint16_t pick[Most][32];
    std::uint32_t returns[Most], feeds[Most];
    std::uint8_t taken[Most];

    explicit RowPattern(std::size_t units) : take(units) {
        const std::size_t period = take + 2;
        cycle = period / std::gcd(period, std::size_t{32});
        for (std::size_t k = 0, place = 0; k < cycle; ++k) {
            unsigned count = 0;
            returns[k] = feeds[k] = 0;
            for (unsigned lane = 0; lane < 32; ++lane, place = place + 1 == period ? 0 : place + 1) {
                pick[k][lane] = static_cast<std::uint16_t>(place < take ? count++ : 0);
                returns[k] |= std::uint32_t{place == take} << lane;
                feeds[k] |= std::uint32_t{place == take + 1} << lane;
            }
            taken[k] = static_cast<std::uint8_t>(count);
        }
    }
};

__attribute__((target("avx512f,avx512bw"))) void expandRows(const char16_t* from, std::size_t take, std::size_t rows,
                                                            std::size_t firstEnd, char16_t*& w, std::size_t*& e) {
    static thread_local std::unique_ptr<RowPattern> pattern;
    if (!pattern || pattern->take != take)
        pattern = std::make_unique<RowPattern>(take);
    const RowPattern& rp = *pattern;
    const __m512i cr = _mm512_set1_epi16(u'\r'), lf = _mm512_set1_epi16(u'\n');
    const std::size_t total = rows * (take + 2);
    char16_t* const out = w;
    std::size_t k = 0;
    for (std::size_t o = 0; o < total; o += 32) {
        __m512i v = _mm512_permutexvar_epi16(_mm512_loadu_si512(rp.pick[k]), _mm512_loadu_si512(from));
        v = _mm512_mask_mov_epi16(_mm512_mask_mov_epi16(v, rp.returns[k], cr), rp.feeds[k], lf);
        if (total - o >= 32)
            _mm512_storeu_si512(out + o, v);
        else
            _mm512_mask_storeu_epi16(out + o, static_cast<__mmask32>((std::uint64_t{1} << (total - o)) - 1), v);
        from += rp.taken[k];
        k = k + 1 == rp.cycle ? 0 : k + 1;
    }
    w = out + total;
    for (std::size_t r = 0; r < rows; ++r)
        *e++ = firstEnd + r * take;
}

// Whether 64-bit lanes can be shifted in pairs (AVX-512 VBMI2).
bool shiftsPairs() {
    static const bool has = __builtin_cpu_supports("avx512vbmi2");
    return has;
}

// Whether the loops on 32 units with a bit each in mask registers may run: AVX-512, and not
// capped below it.
bool thirtyTwoLanes() {
    static const bool has = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
    return has && platform::vectorsAtLeast(platform::VectorLevel::Avx512);
}
#endif

// Copies [from, from + length) to w; returns the end of the copy. Roomy: length is at most 32
// and the source has 32 units from `from`, which are copied whole (the extra units written are
// written over next).
#if defined(__GNUC__) || defined(__clang__)
// Sixteen units in one (unaligned) move where the caller is compiled for AVX2.
typedef char16_t SixteenUnits __attribute__((vector_size(32), aligned(2), may_alias));
#endif

[[gnu::always_inline]] inline char16_t* copyRow(char16_t* w, const char16_t* from, std::size_t length, bool roomy) {
    if (roomy) {
#if defined(__GNUC__) || defined(__clang__)
        // Source and row never overlap: each half goes straight across.
        *reinterpret_cast<SixteenUnits*>(w) = *reinterpret_cast<const SixteenUnits*>(from);
        *reinterpret_cast<SixteenUnits*>(w + 16) = *reinterpret_cast<const SixteenUnits*>(from + 16);
#else
        std::memcpy(w, from, 32 * sizeof(char16_t));
#endif
        return w + length;
    }
    return std::copy(from, from + length, w);
}

// Writes CR LF at w, in one store; returns its end.
inline char16_t* endRow(char16_t* w) {
    constexpr char16_t crlf[2] = {u'\r', u'\n'};
    std::memcpy(w, crlf, sizeof crlf);
    return w + 2;
}

// For eight units, bit j set when unit j takes two positions: where the units end among the
// positions they take (bit p when one ends at position p), and how many they take.
struct EightEnds {
    std::uint16_t ends;
    std::uint8_t positions;
};

const EightEnds* eightEnds() {
    static const std::array<EightEnds, 256> table = [] {
        std::array<EightEnds, 256> t{};
        for (unsigned twos = 0; twos < t.size(); ++twos) {
            unsigned position = 0, ends = 0;
            for (unsigned j = 0; j < 8; ++j) {
                position += 1 + (twos >> j & 1);
                ends |= 1u << (position - 1);
            }
            t[twos] = {static_cast<std::uint16_t>(ends), static_cast<std::uint8_t>(position)};
        }
        return t;
    }();
    return table.data();
}

// A span's units on the positions they take: bit p of the words is set where a unit ends at
// position p. A row that starts at a unit's start then ends after its last position when a
// unit ends there, else one position sooner (a two-position unit that does not fit), and the
// units before a position are the ends before it.
struct SpanEnds {
    static constexpr std::size_t Words = 2 * Span / 64 + 1;
    // Past the last word, room for reading the ends a row of up to 64 positions looks at.
    static constexpr std::size_t Padding = 3;
    std::uint64_t words[Words + Padding];
    std::uint16_t before[Words]; // ends in the words before
    std::uint32_t positions = 0;

    [[gnu::always_inline]] void build(const std::uint8_t* twos, std::size_t units) {
        const EightEnds* const table = eightEnds();
        std::uint64_t word = 0;
        unsigned filled = 0; // bits of word in use
        std::size_t k = 0;
        const auto append = [&](std::uint32_t ends, unsigned count) {
            word |= std::uint64_t{ends} << filled;
            filled += count;
            words[k] = word;
            if (filled >= 64) { // the rest starts the next word
                filled -= 64;
                word = std::uint64_t{ends} >> (count - filled);
                ++k;
            }
        };
        std::size_t b = 0;
        for (; 16 * b + 16 <= units; ++b) {
            const EightEnds low = table[twos[2 * b]], high = table[twos[2 * b + 1]];
            append(low.ends | std::uint32_t{high.ends} << low.positions, low.positions + high.positions);
        }
        for (std::size_t u = 16 * b; u < units; u += 8) {
            const unsigned count = static_cast<unsigned>(std::min<std::size_t>(8, units - u));
            const unsigned mine = twos[u / 8] & ((1u << count) - 1);
            const unsigned taken = count + static_cast<unsigned>(std::popcount(mine));
            append(table[mine].ends & ((1u << taken) - 1), taken);
        }
        finish(word, filled, k);
    }
    // The last word, the padding and the counts before each word.
    [[gnu::always_inline]] void finish(std::uint64_t word, unsigned filled, std::size_t k) {
        words[k] = word;
        for (std::size_t j = k + 1; j < k + 1 + Padding; ++j)
            words[j] = 0;
        positions = static_cast<std::uint32_t>(64 * k + filled);
        before[0] = 0;
        for (std::size_t j = 0; j < k; ++j)
            before[j + 1] = static_cast<std::uint16_t>(before[j] + std::popcount(words[j]));
    }
#ifdef KOTORI_ROWS_AVX2
    // build for processors with fast bit deposit and extract: 32 units a step. Each unit takes
    // two bits of a pattern, a lead and an end; extracting the end of every unit and the lead of
    // every two-position one leaves the ends on the positions.
    __attribute__((target("bmi2,popcnt"))) void buildWide(const std::uint8_t* twos, std::size_t units) {
        constexpr std::uint64_t leads = 0x5555555555555555u, endBits = ~leads;
        std::uint64_t word = 0;
        unsigned filled = 0;
        std::size_t k = 0;
        for (std::size_t u = 0; u < units; u += 32) {
            std::uint32_t mine;
            std::memcpy(&mine, twos + u / 8, sizeof mine);
            std::uint64_t keep = endBits | _pdep_u64(mine, leads);
            unsigned count = 32;
            if (units - u < 32) {
                count = static_cast<unsigned>(units - u);
                mine &= (1u << count) - 1;
                keep &= (std::uint64_t{1} << (2 * count)) - 1;
            }
            const std::uint64_t ends = _pext_u64(endBits, keep);
            const unsigned taken = count + static_cast<unsigned>(std::popcount(mine));
            word |= ends << filled;
            if (filled + taken >= 64) { // the rest starts the next word
                words[k++] = word;
                word = filled == 0 ? 0 : ends >> (64 - filled);
                filled = filled + taken - 64;
            } else {
                filled += taken;
            }
        }
        finish(word, filled, k);
    }
    // The rows that start in the span and end in it, from the one starting at `start`, each a
    // look-up in `lengths` (see rowLengths) and a bit count: row ends at e, the rows at w, each
    // copied in one move (the caller has checked that 32 units can be read from any unit of
    // the span). `start` becomes the start of the row left open, `s` its first unit.
    __attribute__((target("avx2,bmi2,popcnt"))) void layWide(const std::uint8_t* lengths, int width,
                                                             std::uint32_t& start, std::size_t& s, const char16_t* span,
                                                             std::size_t i, char16_t*& w, std::size_t*& e) const {
        const std::uint32_t wide = static_cast<std::uint32_t>(width);
        std::uint32_t next = start;
        std::size_t done = s;
        char16_t* out = w;
        std::size_t* rowEnd = e;
        while (next + wide <= positions) {
            next += lengths[next];
            const std::size_t end =
                before[next / 64] + static_cast<std::size_t>(std::popcount(_bzhi_u64(words[next / 64], next % 64)));
            out = copyRow(out, span + done, end - done, true);
            done = end;
            *rowEnd++ = i + end;
            out = endRow(out);
        }
        start = next;
        s = done;
        w = out;
        e = rowEnd;
    }
#endif
#ifdef KOTORI_ROWS_AVX2
    // layWide two rows a step, up to the last two rows that start and end in the span: with
    // each position's two-row length at hand, the chain from row start to row start is half as
    // long. `twoRows` gets those lengths from `lengths`, unless they are there already
    // (twoRowsReady). Narrow: rows of up to 16 units (a width up to 16), each copied in one move.
    template <bool Narrow>
    __attribute__((target("avx2,bmi2,popcnt"))) void
    layTwoRows(const std::uint8_t* lengths, std::uint8_t* twoRows, bool twoRowsReady, int width, std::uint32_t& start,
               std::size_t& s, const char16_t* span, std::size_t i, char16_t*& w, std::size_t*& e) const {
        const std::uint32_t wide = static_cast<std::uint32_t>(width);
        // A row is full or a position short; the next one's length is then read `wide` or
        // `wide - 1` further on. Lanes past the last two rows read lengths never written, and
        // are never looked at.
        const __m256i full = _mm256_set1_epi8(static_cast<char>(width));
        for (std::uint32_t from = start; !twoRowsReady && from + 2 * wide <= positions; from += 32) {
            const __m256i one = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lengths + from));
            const __m256i shorter = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lengths + from + wide - 1));
            const __m256i longer = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lengths + from + wide));
            const __m256i second = _mm256_blendv_epi8(shorter, longer, _mm256_cmpeq_epi8(one, full));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(twoRows + from), _mm256_add_epi8(one, second));
        }
        const auto copy = [](char16_t* to, const char16_t* from, std::size_t length) __attribute__((target("avx2"))) {
            if constexpr (Narrow) {
                *reinterpret_cast<SixteenUnits*>(to) = *reinterpret_cast<const SixteenUnits*>(from);
                return to + length;
            } else {
                return copyRow(to, from, length, true);
            }
        };
        std::uint32_t next = start;
        std::size_t done = s;
        char16_t* out = w;
        std::size_t* rowEnd = e;
        while (next + 2 * wide <= positions) {
            const std::uint32_t middle = next + lengths[next];
            next += twoRows[next];
            const std::size_t first = unitsBefore(middle), second = unitsBefore(next);
            out = endRow(copy(out, span + done, first - done));
            out = endRow(copy(out, span + first, second - first));
            rowEnd[0] = i + first;
            rowEnd[1] = i + second;
            rowEnd += 2;
            done = second;
        }
        start = next;
        s = done;
        w = out;
        e = rowEnd;
    }
#endif
    [[gnu::always_inline]] bool endsAt(std::uint32_t position) const {
        return (words[position / 64] >> (position % 64)) & 1;
    }
#ifdef KOTORI_ROWS_AVX2
    // For every position of the span, the positions a row that starts there takes: width, or
    // one less when a two-position unit does not fit. A row end then follows from the one
    // before with a single look-up. For widths up to 64.
    __attribute__((target("avx2"))) void rowLengths(int width, std::uint8_t* lengths) const {
        const __m256i pick = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 3,
                                              3, 3, 3, 3, 3, 3, 3);
        const __m256i bit = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201u));
        const __m256i shorter = _mm256_set1_epi8(static_cast<char>(width - 1));
        const auto* bytes = reinterpret_cast<const unsigned char*>(words);
        for (std::uint32_t from = 0; from < positions; from += 32) {
            // The ends at the last position of rows starting at from to from + 31.
            const std::uint32_t at = from + static_cast<std::uint32_t>(width) - 1;
            std::uint64_t chunk;
            std::memcpy(&chunk, bytes + at / 8, sizeof chunk);
            const auto ends = static_cast<std::uint32_t>(chunk >> (at % 8));
            const __m256i spread = _mm256_shuffle_epi8(_mm256_set1_epi32(static_cast<int>(ends)), pick);
            const __m256i full = _mm256_cmpeq_epi8(_mm256_and_si256(spread, bit), bit);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(lengths + from), _mm256_sub_epi8(shorter, full));
        }
    }

    // rowLengths and layTwoRows's two-row lengths at once, 64 positions a step, for widths up
    // to 32: the ends a row (or two) looks at, read as one bit a position, become bytes.
    __attribute__((target("avx512f,avx512bw,avx512vbmi2"))) void rowLengthsByMasks(int width, std::uint8_t* lengths,
                                                                                   std::uint8_t* twoRows) const {
        // The 64 ends from position `at` on (the padding words are read past the last).
        const auto endsFrom = [this](std::uint32_t at) {
            const std::uint32_t shift = at % 64;
            const std::uint64_t low = words[at / 64] >> shift;
            return shift == 0 ? low : low | words[at / 64 + 1] << (64 - shift);
        };
        const __m512i shorter = _mm512_set1_epi8(static_cast<char>(width - 1));
        const __m512i shorterTwo = _mm512_set1_epi8(static_cast<char>(2 * width - 2));
        const auto wide = static_cast<std::uint32_t>(width);
        std::uint32_t from = 0;
        if (shiftsPairs()) {
            // Eight steps' ends at once: the positions a row looks at are less than 64 on, so
            // each step's are its word and the next shifted together.
            const __m512i last = _mm512_set1_epi64(wide - 1), lastTwo = _mm512_set1_epi64(2 * wide - 1),
                          shortTwo = _mm512_set1_epi64(2 * wide - 2);
            alignas(64) std::uint64_t fulls[8], nextFulls[8];
            for (; from + 512 <= positions; from += 512) {
                const __m512i low = _mm512_loadu_si512(words + from / 64),
                              high = _mm512_loadu_si512(words + from / 64 + 1);
                const __m512i full = _mm512_shrdv_epi64(low, high, last);
                _mm512_store_si512(fulls, full);
                // 0xCA: each bit from the second where the first has it, else from the third.
                _mm512_store_si512(nextFulls, _mm512_ternarylogic_epi64(full, _mm512_shrdv_epi64(low, high, lastTwo),
                                                                        _mm512_shrdv_epi64(low, high, shortTwo), 0xCA));
                for (std::uint32_t k = 0; k < 8; ++k) {
                    const __m512i fullLanes = _mm512_movm_epi8(fulls[k]);
                    _mm512_storeu_si512(lengths + from + 64 * k, _mm512_sub_epi8(shorter, fullLanes));
                    _mm512_storeu_si512(twoRows + from + 64 * k, _mm512_sub_epi8(_mm512_sub_epi8(shorterTwo, fullLanes),
                                                                                 _mm512_movm_epi8(nextFulls[k])));
                }
            }
        }
        for (; from < positions; from += 64) {
            // A row from p is full when a unit ends at p + width - 1; the next row is then full
            // when one ends at its last position, p + 2 width - 1 or one before.
            const std::uint64_t full = endsFrom(from + wide - 1);
            const std::uint64_t nextFull =
                (full & endsFrom(from + 2 * wide - 1)) | (~full & endsFrom(from + 2 * wide - 2));
            const __m512i fullLanes = _mm512_movm_epi8(full); // all ones where full
            _mm512_storeu_si512(lengths + from, _mm512_sub_epi8(shorter, fullLanes));
            _mm512_storeu_si512(twoRows + from,
                                _mm512_sub_epi8(_mm512_sub_epi8(shorterTwo, fullLanes), _mm512_movm_epi8(nextFull)));
        }
    }
#endif
    // The units before a position.
    [[gnu::always_inline]] std::size_t unitsBefore(std::uint32_t position) const {
        const std::uint64_t below = (std::uint64_t{1} << (position % 64)) - 1;
        return before[position / 64] + static_cast<std::size_t>(std::popcount(words[position / 64] & below));
    }
};

// Room enough for text of `units` units laid out in rows of `width` positions: a row (but the
// last of a line) holds at least (width - 1) / 2 units.
std::size_t roomFor(std::size_t units, int width) {
    const std::size_t perRow =
        width < 2 ? units + 1 : std::max<std::size_t>(1, static_cast<std::size_t>(width - 1) / 2);
    // Rows are copied 32 units at once: up to 31 past the row are written too.
    return units + 2 * (units / perRow) + 2 + 32;
}

// The most row ends `units` units laid out in rows of `width` positions can have: every row
// that ends holds at least width - 1 positions.
std::size_t mostRowEnds(std::size_t units, int width) {
    return width < 2 ? 0 : units / std::max<std::size_t>(1, static_cast<std::size_t>(width - 1) / 2) + 2;
}

// The positions each of `units` units takes when all take the same, else 0.
inline unsigned sameSize(const std::uint8_t* twos, std::size_t units) {
    std::uint64_t all = ~std::uint64_t{0}, any = 0; // only all ones or none matter: eight bytes a step
    std::size_t b = 0;
    for (; b + 8 <= units / 8; b += 8) {
        std::uint64_t word;
        std::memcpy(&word, twos + b, sizeof word);
        all &= word;
        any |= word;
    }
    for (; b < units / 8; ++b) {
        all &= twos[b] | ~std::uint64_t{0xFF};
        any |= twos[b];
    }
    if (const std::size_t rest = units % 8) {
        const unsigned mask = (1u << rest) - 1, mine = twos[units / 8] & mask;
        all &= mine | ~std::uint64_t{mask};
        any |= mine;
    }
    return any == 0 ? 1 : all == ~std::uint64_t{0} ? 2 : 0;
}

// Lays out text from i in rows of `width` positions, writing it at w with CR LF at each row
// end: a surrogate pair takes two positions (one for each half's '?' substitute), any other
// unit its length in code page 932, and a two-position character that does not fit starts the
// next row. Each row end is written at rowEnds (which has room for mostRowEnds of the text
// laid out) as the index of the character it comes before; from askFrom on, ask(at) is asked
// first, and false stops there, before that row end is written.
// Stops too at a line feed at or after stopAtLineFrom, or at the end; returns where it stopped.
// Wide: the processor has AVX2, BMI2 and POPCNT, and the caller is compiled for them.
template <bool Wide, typename Ask>
[[gnu::always_inline]] inline std::size_t layRowsWith(std::u16string_view text, std::size_t i, int width,
                                                      std::size_t stopAtLineFrom, char16_t*& written,
                                                      std::size_t*& rowEnds, std::size_t askFrom, Ask& ask) {
    const char16_t* const p = text.data();
    const std::size_t n = text.size();
    if (width < 2) { // a screen without columns (no model chosen) has no rows to end
        std::size_t stop = stopAtLineFrom < n ? text.find(u'\n', std::max(i, stopAtLineFrom)) : n;
        if (stop == std::u16string_view::npos)
            stop = n;
        written = std::copy(p + i, p + stop, written);
        return stop;
    }
    const std::size_t first = i;
    // Locals, so the loop keeps them in registers: the question's state too.
    char16_t* w = written;
    std::size_t* e = rowEnds;
    Ask asking = ask;
    const auto done = [&](std::size_t at) {
        written = w;
        rowEnds = e;
        ask = asking;
        return at;
    };
    const auto ended = [&](std::size_t at) {
        if (at >= askFrom && !asking(at))
            return false;
        *e++ = at;
        return true;
    };
    const unsigned char* const kinds = unitKinds();
    // Plain units (no CR, LF or high surrogate) go a span at a time: which take two positions
    // is found first, then each row end follows from the one before with one look at where the
    // units end.
    std::uint8_t twos[Span / 8];
    SpanEnds ends;
    // See SpanEnds::rowLengths and layTwoRows, which reads lengths a row and a vector further on.
    std::uint8_t lengths[2 * Span + 64 + 32], twoRows[2 * Span + 32];
    int position = 0; // where the next unit starts in its row
    while (i < n) {
        const bool longRun = std::min(n, askFrom) >= i + LongRun || i >= first + LongRun;
        const std::size_t limit = std::min(longRun ? Span : ShortSpan, n - i);
        std::size_t count = 0;
#ifdef KOTORI_ROWS_AVX2
        if constexpr (Wide)
            count = !thirtyTwoLanes() ? twosByThirtyTwos(p + i, limit, kinds, twos)
                    : longRun         ? twosByWideMasks(p + i, limit, kinds, twos)
                                      : twosByMasks(p + i, limit, kinds, twos);
#endif
        count = twosByTable(p + i, count, limit, kinds, twos); // the rest, or nothing past a stop
        const char16_t* const span = p + i;
        const bool roomy = width <= 32 && n - i - count >= 32;
        std::size_t s = 0; // the first unit not written yet
        if (const unsigned size = sameSize(twos, count)) {
            // Units of one size (a Japanese mail's kana and kanji, or ASCII) fill rows of as many
            // each, the first what room its row has left; a row that a two-position unit does not
            // fill ends only before one.
            const auto room = static_cast<std::size_t>(width - position);
            std::size_t take = room / size;
            bool full = take * size == room;
            while (s + take < count || (s + take == count && full)) {
                w = copyRow(w, span + s, take, roomy);
                s += take;
                if (!ended(i + s))
                    return done(i + s);
                w = endRow(w);
                position = 0;
                take = size == 2 ? static_cast<std::size_t>(width) / 2 : static_cast<std::size_t>(width);
                full = size == 1 || width % 2 == 0;
#ifdef KOTORI_ROWS_AVX2
                // The whole rows left in the span at once, up to one whose end is asked about
                // and stops the layout; the loop then ends with the span. (A row a
                // two-position unit cannot fill ends only before the unit after it.)
                if (Wide && roomy && s < count && thirtyTwoLanes()) {
                    std::size_t rows = (count - s - (full ? 0 : 1)) / take;
                    const std::size_t firstEnd = i + s + take;
                    if (rows > 0 && firstEnd + (rows - 1) * take >= askFrom) {
                        const std::size_t unasked = firstEnd >= askFrom ? 0 : (askFrom - firstEnd + take - 1) / take;
                        rows = unasked + asking.passing(firstEnd + unasked * take, take, rows - unasked);
                    }
                    if (rows > 0) {
                        expandRows(span + s, take, rows, i + s + take, w, e);
                        s += rows * take;
                    }
                }
#endif
            }
            w = copyRow(w, span + s, count - s, roomy);
            position += static_cast<int>((count - s) * size);
        } else {
#ifdef KOTORI_ROWS_AVX2
            if (Wide && fastBitDeposit())
                ends.buildWide(twos, count);
            else
#endif
                ends.build(twos, count);
            // Positions from the span's start; the row the span starts in began `position` before.
            auto rowStart = static_cast<std::uint32_t>(-position);
            const auto rowEndsAt = [&](std::uint32_t next) {
                const std::size_t end = ends.unitsBefore(next);
                w = copyRow(w, span + s, end - s, roomy);
                s = end;
                rowStart = next;
                return ended(i + end);
            };
            std::uint32_t last = rowStart + static_cast<std::uint32_t>(width) - 1; // the row's last position
            if (last < ends.positions) {
                if (!rowEndsAt(last + (ends.endsAt(last) ? 1 : 0)))
                    return done(i + s);
                w = endRow(w);
#ifdef KOTORI_ROWS_AVX2
                if (Wide && width <= 64) {
                    // The rows after the first start in the span: each ends in it while its last
                    // position is in it.
                    const bool plainest = roomy && i + count < askFrom; // nothing to ask
                    const bool byMasks = plainest && thirtyTwoLanes();
                    if (byMasks)
                        ends.rowLengthsByMasks(width, lengths, twoRows);
                    else
                        ends.rowLengths(width, lengths);
                    if (plainest) {
                        if (width <= 16)
                            ends.layTwoRows<true>(lengths, twoRows, byMasks, width, rowStart, s, span, i, w, e);
                        else
                            ends.layTwoRows<false>(lengths, twoRows, byMasks, width, rowStart, s, span, i, w, e);
                        ends.layWide(lengths, width, rowStart, s, span, i, w, e);
                    }
                    while (rowStart + static_cast<std::uint32_t>(width) <= ends.positions) {
                        if (!rowEndsAt(rowStart + lengths[rowStart]))
                            return done(i + s);
                        w = endRow(w);
                    }
                } else
#endif
                    for (last = rowStart + static_cast<std::uint32_t>(width) - 1; last < ends.positions;
                         last = rowStart + static_cast<std::uint32_t>(width) - 1) {
                        if (!rowEndsAt(last + (ends.endsAt(last) ? 1 : 0)))
                            return done(i + s);
                        w = endRow(w);
                    }
            }
            // The span ends inside the row.
            w = copyRow(w, span + s, count - s, roomy);
            position = static_cast<int>(ends.positions - rowStart);
        }
        i += count;
        if (count == limit)
            continue; // the span was full: the next one goes on from here
        // A CR, an LF or a high surrogate, one at a time.
        const char16_t c = p[i];
        if (c == u'\n') {
            if (i >= stopAtLineFrom)
                return done(i);
            position = 0;
            *w++ = c;
            ++i;
            continue;
        }
        if (c == u'\r') {
            *w++ = c;
            ++i;
            continue;
        }
        const bool pair = i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] < 0xE000;
        const int size = pair ? 2 : platform::unitLengths()[c];
        position += size;
        if (position == width + 1) {
            if (!ended(i))
                return done(i);
            w = endRow(w);
            position = size;
        }
        *w++ = c;
        if (pair)
            *w++ = p[i + 1];
        i += pair ? 2 : 1;
        if (position == width) {
            if (!ended(i))
                return done(i);
            w = endRow(w);
            position = 0;
        }
    }
    return done(n);
}

// Every command that edits the body lays the preview out again: kept out of line, so that the
// loops keep their state in registers.
template <typename Ask>
[[gnu::noinline]] std::size_t layRowsPlain(std::u16string_view text, std::size_t i, int width,
                                           std::size_t stopAtLineFrom, char16_t*& written, std::size_t*& rowEnds,
                                           std::size_t askFrom, Ask& ask) {
    return layRowsWith<false>(text, i, width, stopAtLineFrom, written, rowEnds, askFrom, ask);
}

#ifdef KOTORI_ROWS_AVX2
template <typename Ask>
__attribute__((target("avx2,bmi2,popcnt"))) [[gnu::noinline]] std::size_t
layRowsWide(std::u16string_view text, std::size_t i, int width, std::size_t stopAtLineFrom, char16_t*& written,
            std::size_t*& rowEnds, std::size_t askFrom, Ask& ask) {
    return layRowsWith<true>(text, i, width, stopAtLineFrom, written, rowEnds, askFrom, ask);
}

bool wideRows() {
    static const bool has = __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
    return has && platform::vectorsAtLeast(platform::VectorLevel::Avx2);
}

// The plain loops where the processor counts bits itself (every x86-64 of the last fifteen
// years): the units before a row end are counted once a row.
template <typename Ask>
__attribute__((target("popcnt"))) [[gnu::noinline]] std::size_t
layRowsCounted(std::u16string_view text, std::size_t i, int width, std::size_t stopAtLineFrom, char16_t*& written,
               std::size_t*& rowEnds, std::size_t askFrom, Ask& ask) {
    return layRowsWith<false>(text, i, width, stopAtLineFrom, written, rowEnds, askFrom, ask);
}

bool countsBits() {
    static const bool has = __builtin_cpu_supports("popcnt");
    return has;
}
#endif

template <typename Ask>
std::size_t layRows(std::u16string_view text, std::size_t i, int width, std::size_t stopAtLineFrom, char16_t*& written,
                    std::size_t*& rowEnds, std::size_t askFrom, Ask& ask) {
#ifdef KOTORI_ROWS_AVX2
    if (wideRows())
        return layRowsWide(text, i, width, stopAtLineFrom, written, rowEnds, askFrom, ask);
    if (countsBits())
        return layRowsCounted(text, i, width, stopAtLineFrom, written, rowEnds, askFrom, ask);
#endif
    return layRowsPlain(text, i, width, stopAtLineFrom, written, rowEnds, askFrom, ask);
}

// Asked at each row end from an edit's end on: whether the old rows go on unchanged from
// there, the old row ends being walked along with the new ones. Plain values, so that the
// layout's loop keeps them in registers.
struct LinesUp {
    const std::size_t* old;     // the first old row end not passed yet
    const std::size_t* oldLast; // past the old row ends
    std::size_t shift;          // from a new position to the old one: removed less added, wrapping
    bool met = false;

    bool operator()(std::size_t rowEnd) {
        met = passing(rowEnd, 0, 1) == 0;
        return !met;
    }
    // How many of `count` row ends, `step` apart from `first`, the old rows do not line up with.
    std::size_t passing(std::size_t first, std::size_t step, std::size_t count) {
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t at = first + k * step + shift;
            while (old != oldLast && *old < at)
                ++old;
            if (old != oldLast && *old == at)
                return k;
        }
        return count;
    }
};

// Nothing asked: every row end stands.
struct NoQuestion {
    bool operator()(std::size_t) const { return true; }
    std::size_t passing(std::size_t, std::size_t, std::size_t count) const { return count; }
};

} // namespace

void appendRows(std::u16string& out, std::u16string_view text, int width, std::size_t offset, RowEnds* breaks) {
    const std::size_t start = out.size();
    out.resize(start + roomFor(text.size(), width));
    char16_t* w = out.data() + start;
    RowEnds own;
    RowEnds& rowEnds = breaks ? *breaks : own;
    const std::size_t first = rowEnds.size();
    rowEnds.resize(first + mostRowEnds(text.size(), width));
    std::size_t* e = rowEnds.data() + first;
    NoQuestion none;
    layRows(text, 0, width, std::u16string_view::npos, w, e, std::u16string_view::npos, none);
    rowEnds.resize(static_cast<std::size_t>(e - rowEnds.data()));
    if (offset != 0)
        for (std::size_t k = first; k < rowEnds.size(); ++k)
            rowEnds[k] += offset;
    out.resize(static_cast<std::size_t>(w - out.data()));
}

std::u16string PreviewRows::build(std::u16string_view body, int width) {
    m_width = width;
    m_breaks.clear();
    std::u16string rows;
    rows.reserve(body.size() + body.size() / 4);
    appendRows(rows, body, width, 0, &m_breaks);
    return rows;
}

PreviewRows::Change PreviewRows::update(std::u16string_view body, std::size_t pos, std::size_t removed,
                                        std::size_t added) {
    // Rows before the one the edit starts in stay as they are: lay out again from its start (a
    // row starts in the same state whatever ended the row before it).
    // A high surrogate just before the edit may pair differently now: its row goes too.
    const std::size_t from = pos > 0 && body[pos - 1] >= 0xD800 && body[pos - 1] < 0xDC00 ? pos - 1 : pos;
    // The line can be long (a pasted text without breaks): looked for a vector at a time.
    const std::size_t before = textscan::findLast(body.substr(0, from), u'\n');
    std::size_t restart = before == std::u16string_view::npos ? 0 : before + 1;
    auto firstGone = std::lower_bound(m_breaks.begin(), m_breaks.end(), from);
    if (firstGone != m_breaks.begin() && *(firstGone - 1) > restart)
        restart = *(firstGone - 1);
    // Rows this near the start are laid out again rather than kept: when the change then runs
    // to the end (a command over the whole body), its rows take the preview's place whole and
    // no long run of rows is copied to keep a few.
    if (restart <= 512)
        restart = 0;
    firstGone = std::upper_bound(m_breaks.begin(), m_breaks.end(), restart);

    // Until a row ends where an old one did after the edit (the old rows go on unchanged from
    // there), or the line ends.
    const std::size_t editEnd = pos + added;
    const auto oldAt = [&](std::size_t i) { return i - added + removed; };
    // The old row ends past the edit are walked along with the new ones, which only move on: a
    // long tail whose rows never line up again is not searched row by row.
    LinesUp linesUp{std::to_address(std::lower_bound(m_breaks.begin(), m_breaks.end(), oldAt(editEnd))),
                    std::to_address(m_breaks.end()), removed - added};
    Change change;
    RowEnds& rowEnds = m_newBreaks; // kept, so that a long walk does not grow it afresh
    rowEnds.clear();
    // At most up to the end of the line the edit ends in.
    const std::size_t lineEnd = editEnd + std::min(body.size() - editEnd, textscan::find(body.substr(editEnd), u"\n"));
    const std::size_t room = roomFor(lineEnd - restart, m_width);
    if (room >= 4096)
        change.text.swap(m_spare); // only what it lacks is cleared
    change.text.resize(room);
    char16_t* w = change.text.data();
    rowEnds.resize(mostRowEnds(lineEnd - restart, m_width));
    std::size_t* e = rowEnds.data();
    // From the edit's end on, a row end may be where the old rows line up again: stop there.
    const std::size_t stop = layRows(body, restart, m_width, editEnd, w, e, editEnd, linesUp);
    const bool keepBreakAtStop = linesUp.met;
    rowEnds.resize(static_cast<std::size_t>(e - rowEnds.data()));
    change.text.resize(static_cast<std::size_t>(w - change.text.data()));
    const std::size_t oldStop = oldAt(stop);
    const auto lastGone = keepBreakAtStop ? std::lower_bound(firstGone, m_breaks.end(), oldStop)
                                          : std::upper_bound(firstGone, m_breaks.end(), oldStop);
    change.pos = restart + 2 * static_cast<std::size_t>(firstGone - m_breaks.begin());
    change.removed = oldStop + 2 * static_cast<std::size_t>(lastGone - m_breaks.begin()) - change.pos;
    if (firstGone == m_breaks.begin() && m_breaks.end() - lastGone < lastGone - firstGone) {
        // The rows from the start laid out anew, and few old ones after them (a command over
        // nearly all the body): those few follow the new ones, rather than all these being
        // copied in among the old.
        for (auto it = lastGone; it != m_breaks.end(); ++it)
            rowEnds.push_back(*it - removed + added);
        m_breaks.swap(rowEnds);
        return change;
    }
    for (auto it = lastGone; it != m_breaks.end(); ++it)
        *it = *it - removed + added;
    const auto at = m_breaks.erase(firstGone, lastGone);
    m_breaks.insert(at, rowEnds.begin(), rowEnds.end());
    return change;
}

std::size_t PreviewRows::previewPosition(std::size_t bodyPos) const {
    const auto after = std::upper_bound(m_breaks.begin(), m_breaks.end(), bodyPos);
    return bodyPos + 2 * static_cast<std::size_t>(after - m_breaks.begin());
}

} // namespace core
