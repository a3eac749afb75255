#include "core/text/Conversions.h"

#include "core/app/Editor.h"
#include "core/text/Compaction.h"
#include "core/text/TextEdit.h"
#include "platform/Cp932.h"
#include "platform/Width.h"

#include <utility>

namespace core {

namespace {

// Removing a line break can join a carriage return and a line feed into a new one, which goes
// too. Pairs that come about that way are rare, so they get a second, slower pass.
std::u16string withoutLineBreaks(std::u16string_view text, std::u16string storage) {
    std::u16string once = withoutPairsOnce(text, std::move(storage));
    if (!holdsLineBreak(once))
        return once;
    std::u16string out(once.size() + 1, u'\0'); // out[0] guards the look-back
    char16_t* o = out.data() + 1;
    char16_t last = 0;
    for (char16_t c : once) {
        if (c == u'\n' && last == u'\r') {
            --o;
            last = o[-1];
        } else {
            *o++ = c;
            last = c;
        }
    }
    return out.substr(1, static_cast<std::size_t>(o - out.data()) - 1);
}

Converted replaced(std::u16string_view text, char16_t from, char16_t to, std::u16string storage) {
    long long count = 0;
    Converted out{withUnitReplaced(text, from, to, count, std::move(storage))};
    out.byteDelta = count * (static_cast<long long>(platform::sjisLength(std::u16string_view(&to, 1))) -
                             static_cast<long long>(platform::sjisLength(std::u16string_view(&from, 1))));
    out.deltaKnown = true;
    out.keepsForms = to < 0x80;
    return out;
}

Converted removed(std::u16string_view text, char16_t what, std::u16string storage) {
    Converted out{withoutUnit(text, what, std::move(storage))};
    auto gone = static_cast<long long>(text.size() - out.text.size());
    out.byteDelta = -gone * static_cast<long long>(platform::sjisLength(std::u16string_view(&what, 1)));
    out.deltaKnown = true;
    out.keepsForms = true;
    return out;
}

} // namespace

Converted convert(int k, std::u16string_view text, std::u16string storage) {
    switch (k) {
    case 0: {
        Converted out{withoutLineBreaks(text, std::move(storage))};
        // Only CR LF pairs go, one byte each.
        out.byteDelta = -static_cast<long long>(text.size() - out.text.size());
        out.deltaKnown = true;
        out.keepsForms = true;
        return out;
    }
    case 1:
        return replaced(text, u'→', u'>', std::move(storage));
    case 2:
        return replaced(text, u'←', u'<', std::move(storage));
    case 3:
        return replaced(text, u'↑', u'\\', std::move(storage));
    case 4:
        return replaced(text, u'×', u'x', std::move(storage));
    case 5:
        return removed(text, u' ', std::move(storage));
    case 6: {
        long long byteDelta = 0;
        Converted out{platform::toHalfWidth(text, byteDelta, std::move(storage))};
        out.byteDelta = byteDelta;
        out.deltaKnown = true;
        out.keepsForms = true; // every half-width form it writes is in the code page
        return out;
    }
    case 7:
        return removed(text, u'(', std::move(storage));
    case 8:
        return removed(text, u')', std::move(storage));
    default:
        return {std::u16string(text)};
    }
}

void Editor::conversion(int k) {
    if (k < 0 || k >= ConversionCount)
        return;
    Converted result = convert(k, s.Text1.text, std::move(m_spareBody));
    // The saving applies to the counted copy only while it is the body this conversion read.
    m_deltaKnown = result.deltaKnown && m_countValid && m_countedBody.equals(s.Text1.text);
    m_byteDelta = result.byteDelta;
    // A conversion that keeps the units' forms leaves nothing for the check to find while the
    // body holds no unit without one: a long body's check is spared then.
    m_keepsForms = result.keepsForms;
    replaceBodyWith(std::move(result.text));
    m_keepsForms = false;
    m_deltaKnown = false;
}

void Editor::conversionChain() {
    for (int k = 0; k < ConversionCount; ++k)
        conversion(k);
}

} // namespace core
