// The full- and half-width conversions: the byte change they report is the real one (a unit
// with no form of its own, such as ヷ, may grow into an encodable pair), and a
// text converted once is left alone by the same conversion again.
#include "FuzzSupport.h"

#include "platform/Cp932.h"
#include "platform/Width.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::u16string text = in.units();
    long long delta = 0;
    const std::u16string half = platform::toHalfWidth(text, delta);
    FUZZ_CHECK(half.size() <= 2 * text.size());
    FUZZ_CHECK(half == platform::toHalfWidth(text));
    FUZZ_CHECK(static_cast<long long>(platform::sjisLength(half)) ==
               static_cast<long long>(platform::sjisLength(text)) + delta);
    FUZZ_CHECK(platform::toHalfWidth(half) == half);

    const std::u16string full = platform::toFullWidth(text);
    FUZZ_CHECK(full.size() <= text.size());
    FUZZ_CHECK(platform::toFullWidth(full) == full);
    return 0;
}
