// The code page 932 decoder and encoder: bounded output, and text that has a form of its own
// comes back unchanged.
#include "FuzzSupport.h"

#include "platform/Cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::string_view bytes = in.rest();
    const std::u16string decoded = platform::decodeCp932(bytes);
    FUZZ_CHECK(decoded.size() <= bytes.size());
    // What the decoder gives, the encoder writes back to bytes that decode alike.
    const std::string encoded = platform::encodeCp932(decoded);
    FUZZ_CHECK(platform::decodeCp932(encoded) == decoded);
    FUZZ_CHECK(platform::sjisLength(decoded) == encoded.size());

    // Units whose own form reads back as themselves round-trip together, whatever their neighbours.
    std::u16string text;
    for (char16_t unit : in.units()) {
        const std::u16string one(1, unit);
        if (platform::decodeCp932(platform::encodeCp932(one)) == one)
            text += unit;
    }
    const std::string written = platform::encodeCp932(text);
    FUZZ_CHECK(written.size() <= 2 * text.size());
    FUZZ_CHECK(platform::sjisLength(text) == written.size());
    FUZZ_CHECK(platform::decodeCp932(written) == text);
    for (char16_t unit : text)
        FUZZ_CHECK(platform::isSingleByte(unit) == (platform::sjisLength(std::u16string_view(&unit, 1)) == 1));
    return 0;
}
