#pragma once

#include <optional>
#include <string>
#include <string_view>

// Text as the phone's code page (932) carries it. Input methods and emoji pickers outside
// Windows type forms that code page 932 lacks: these become the characters it holds, so that
// what the box shows, counts and sends is what the phone receives.
namespace core {

struct PhoneText {
    std::u16string text;
    std::u16string emoji; // the i-mode emoji made from Unicode emoji, in order
};

// The text with the JIS-style forms (WAVE DASH, MINUS SIGN, DOUBLE VERTICAL LINE, EM DASH,
// OVERLINE) turned into their code page 932 counterparts and, when `emoji` is set, every Unicode
// emoji with an i-mode counterpart (keycaps included) turned into that i-mode emoji. A symbol
// that code page 932 already carries (© as "c") becomes an emoji only when written with the
// emoji presentation selector. Nothing when the text needs no change.
std::optional<PhoneText> phoneText(std::u16string_view text, bool emoji);

// Rewrites a one-line box's text in place, keeping the caret after the same character; false
// when the text needs no change.
bool toPhoneLine(std::u16string& text, int& caret, bool emoji);

// A character next to which an edit may complete an emoji written before or after it: a
// selector, the keycap mark or the second half of a surrogate pair.
bool clingsToPrevious(char16_t unit);

// Appends to `found` every character of `text` that code page 932 has no form for (it would
// reach the phone as "?"), each once: characters already in `found` are skipped.
void addUnsendable(std::u16string_view text, std::u16string& found);

} // namespace core
