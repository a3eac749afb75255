#include "core/text/Conversions.h"

#include "core/app/Editor.h"
#include "platform/Width.h"

namespace core {

namespace {

// Removing a line break can join a carriage return and a line feed into a new one, which goes
// too: the output is kept free of CR LF pairs as it grows.
std::u16string withoutLineBreaks(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c == u'\n' && !out.empty() && out.back() == u'\r')
            out.pop_back();
        else
            out.push_back(c);
    }
    return out;
}

std::u16string replaced(std::u16string_view text, char16_t from, char16_t to) {
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c == from)
            c = to;
    }
    return out;
}

std::u16string removed(std::u16string_view text, char16_t what) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c != what)
            out.push_back(c);
    }
    return out;
}

} // namespace

std::u16string convertedText(int k, std::u16string_view text) {
    switch (k) {
    case 0:
        return withoutLineBreaks(text);
    case 1:
        return replaced(text, u'→', u'>');
    case 2:
        return replaced(text, u'←', u'<');
    case 3:
        return replaced(text, u'↑', u'\\');
    case 4:
        return replaced(text, u'×', u'x');
    case 5:
        return removed(text, u' ');
    case 6:
        return platform::toHalfWidth(text);
    case 7:
        return removed(text, u'(');
    case 8:
        return removed(text, u')');
    default:
        return std::u16string(text);
    }
}

void Editor::conversion(int k) {
    if (k < 0 || k >= ConversionCount)
        return;
    replaceBodyWith(convertedText(k, s.Text1.text));
}

void Editor::conversionChain() {
    for (int k = 0; k < ConversionCount; ++k)
        conversion(k);
}

} // namespace core
