// The vertical layout and its reverse, against the same rules done the slow, obvious way.
#include "FuzzSupport.h"

#include "LiteralLayout.h"
#include "core/vertical/HorizontalLayout.h"
#include "core/vertical/VerticalConversion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const int columns = in.byte() % 24, rows = in.byte() % 24;
    const int mode = in.byte() % 3;
    const core::Answer answer = in.flag() ? core::Answer::Yes : core::Answer::No;
    const std::u16string text = in.units().substr(0, 400); // the slow rules are quadratic

    // Forward: the literal rules cover screens of five columns or more.
    literal::SameAnswer prompts(answer);
    const core::VerticalResult result =
        core::toVertical(text, {columns, rows}, static_cast<core::VerticalMode>(mode), prompts);
    FUZZ_CHECK(prompts.asked.size() <= 1);
    if (columns >= 5 && rows >= 1) {
        std::u16string asked;
        const auto expected = literal::vertical(text, columns, rows, mode, answer, asked);
        FUZZ_CHECK(result.outcome == (expected ? core::VerticalResult::Converted : core::VerticalResult::Declined));
        FUZZ_CHECK(result.text == expected.value_or(u""));
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
