#pragma once

#include "core/vertical/FullWidth.h"

#include <cstddef>
#include <string>
#include <string_view>

// How a body flows into columns, written once for any destination: the flat prepared text
// or pages written directly in place. The sink is a small value, taken and given back, so
// that its state stays in registers through the loop. It takes
//   takePlain(p, end, ascii, wrote)  as many units from p as it likes of those with a plain
//                form and CR LF pairs, returning where it stopped; wrote: whether it wrote,
//   put(c)       the next character,
//   putPair(h, l) the next character, outside the BMP: both halves in one cell,
//   skip(n)      n fillers,
//   endColumn()  fillers up to the foot of the column (none at its top); true when it filled,
//   unput()      the last character back.
namespace core::columnflow {

// What a unit becomes in a column when that does not depend on its neighbours (kana and CJK
// as they are, "ー" as "｜", ASCII in full width, from the table of asciiWide); 0 otherwise.
// Plain comparisons rather than a table for the whole range: a large table falls out of the
// cache beside the pages being written.
inline char16_t plainForm(char16_t c, const char16_t* ascii) {
    if (static_cast<char16_t>(c - 0x3000) < 0xCF00)
        return c == u'ー' ? u'｜' : c;
    return c < 0x80 ? ascii[c] : 0;
}

template <class Sink> Sink flow(std::u16string_view body, Sink sink) {
    // CRs at the end of the output, one after another. An LF that arrives while there is one
    // makes a line break with it: watching the output rather than the input also catches a
    // CR LF that forms once an empty fill brings a lone CR and a lone LF together, as
    // replacing from the start again would.
    std::size_t trailingCr = 0;
    const auto lineBreak = [&] {
        if (sink.endColumn())
            trailingCr = 0;
    };
    const auto upright = [](char16_t c) { return c == u'ー' ? u'｜' : c; };
    const auto isAsciiWithForm = [](const char16_t* ascii, char16_t c) { return c < 0x80 && c >= 0x20 && ascii[c]; };

    const char16_t* const ascii = fullwidth::asciiWide();
    const char16_t* const begin = body.data();
    const char16_t* const end = begin + body.size();
    const char16_t* p = begin;
    while (p != end) {
        // The bulk of a mail first: the sink's own loop over units with a plain form and
        // CR LF pairs. Its writing anything leaves no CR at the end of the output.
        bool wrote = false;
        p = sink.takePlain(p, end, ascii, wrote);
        if (wrote)
            trailingCr = 0;
        if (p == end)
            break;
        const char16_t c = *p;
        if (c >= 0xD800 && c < 0xDC00 && p + 1 != end && p[1] >= 0xDC00 && p[1] < 0xE000) {
            sink.putPair(c, p[1]);
            trailingCr = 0;
            p += 2;
        } else if (const char16_t form = plainForm(c, ascii)) {
            sink.put(form);
            trailingCr = 0;
            ++p;
        } else if (c == u'\r' && p + 1 != end && p[1] == u'\n') {
            lineBreak();
            p += 2;
        } else if (c == u'\r') {
            sink.put(c);
            ++trailingCr;
            ++p;
        } else if (c == u'\n' && trailingCr > 0) {
            sink.unput();
            --trailingCr;
            lineBreak();
            ++p;
        } else if (c == u'\t') {
            sink.skip(4);
            trailingCr = 0;
            ++p;
        } else if (fullwidth::keepsItsForm(c) || !fullwidth::isNarrow(c)) {
            sink.put(upright(c));
            trailingCr = 0;
            ++p;
        } else {
            // A half-width run, taken whole so that voiced marks join their kana. An ASCII
            // character right before a mark went out alone above; it belongs to the run.
            if (fullwidth::isVoicedMark(c) && p != begin && isAsciiWithForm(ascii, p[-1])) {
                sink.unput();
                --p;
            }
            const char16_t* runEnd = p + 1;
            while (runEnd != end && !fullwidth::keepsItsForm(*runEnd) && fullwidth::isNarrow(*runEnd))
                ++runEnd;
            for (char16_t w : fullwidth::widen(std::u16string_view(p, static_cast<std::size_t>(runEnd - p)))) {
                sink.put(upright(w));
                trailingCr = 0;
            }
            p = runEnd;
        }
    }
    return sink;
}

} // namespace core::columnflow
