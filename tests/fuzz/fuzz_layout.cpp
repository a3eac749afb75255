// The vertical layout and its reverse, against the same rules done the slow, obvious way.
#include "FuzzSupport.h"

#include "LiteralLayout.h"
#include "core/vertical/HorizontalLayout.h"
#include "core/vertical/VerticalConversion.h"

namespace {

// Whole surrogate pairs in a text: the layout keeps each in one cell, which the literal rules,
// counting units, do not know.
std::size_t pairs(std::u16string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i + 1 < s.size(); ++i)
        if ((s[i] & 0xFC00) == 0xD800 && (s[i + 1] & 0xFC00) == 0xDC00)
            ++n, ++i;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const int columns = in.byte() % 24, rows = in.byte() % 24;
    const int mode = in.byte() % 3;
    const core::Answer answer = in.flag() ? core::Answer::Yes : core::Answer::No;
    const std::u16string text = in.units().substr(0, 400); // the slow rules are quadratic

    // Forward, against the literal rules.
    literal::SameAnswer prompts(answer);
    const core::VerticalResult result =
        core::toVertical(text, {columns, rows}, static_cast<core::VerticalMode>(mode), prompts);
    FUZZ_CHECK(prompts.asked.size() <= 1);
    const std::size_t inputPairs = pairs(text);
    if (inputPairs > 0 && result.outcome == core::VerticalResult::Converted && prompts.asked.empty())
        FUZZ_CHECK(pairs(result.text) >= inputPairs); // no pair split across cells
    if (inputPairs == 0) {
        std::u16string asked;
        const core::VerticalResult expected = literal::vertical(text, columns, rows, mode, answer, asked);
        FUZZ_CHECK(result.outcome == expected.outcome);
        FUZZ_CHECK(result.text == expected.text);
        FUZZ_CHECK(prompts.asked == (asked.empty() ? std::vector<std::u16string>{} : std::vector{asked}));
    }
    if (result.outcome == core::VerticalResult::Converted)
        FUZZ_CHECK(result.text.size() <= 8 * (text.size() + 16) * (static_cast<std::size_t>(columns) + 2));

    // Backward, on the layout made above and on the raw input.
    for (const std::u16string& layout : {result.text, text}) {
        const auto back = core::toHorizontal(layout, {columns, rows});
        const auto expected = literal::horizontal(layout, columns, rows);
        FUZZ_CHECK(back.has_value() == expected.has_value());
        FUZZ_CHECK(back.value_or(u"") == expected.value_or(u""));
    }
    return 0;
}
