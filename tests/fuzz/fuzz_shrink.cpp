// The shrinking conversions: each reports the byte change it made, never grows the text
// beyond a bound, and the line-break removal leaves no pair, however deeply nested.
#include "FuzzSupport.h"

#include "core/text/Conversions.h"
#include "platform/Cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const int k = in.byte() % core::ConversionCount;
    const std::u16string text = in.units();
    const core::Converted out = core::convert(k, text);
    FUZZ_CHECK(out.text.size() <= 2 * text.size());
    if (out.deltaKnown)
        FUZZ_CHECK(static_cast<long long>(platform::sjisLength(out.text)) ==
                   static_cast<long long>(platform::sjisLength(text)) + out.byteDelta);
    if (k == 0) { // line breaks, nested pairs included, are all gone
        FUZZ_CHECK(out.text.find(u"\r\n") == std::u16string::npos);
        FUZZ_CHECK(out.text.size() <= text.size());
    }
    return 0;
}
