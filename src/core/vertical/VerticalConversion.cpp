#include "core/vertical/VerticalConversion.h"

#include "core/app/Strings.h"
#include "core/vertical/VerticalLayout.h"
#include "core/vertical/VerticalPages.h"

namespace core {

VerticalResult toVertical(std::u16string_view body, ScreenSize screen, VerticalMode mode, Prompts& prompts) {
    if (screen.rows < 1)
        return {VerticalResult::CannotLayOut, {}};
    const bool rowBreaks = mode != VerticalMode::Send;
    if (screen.columns < 1) {
        // No page can hold a character: only a text that prepares to nothing has a layout,
        // its rows being empty (the preview's last one without its line break, as always).
        if (!prepareColumns(body, screen.rows).empty())
            return {VerticalResult::CannotLayOut, {}};
        std::u16string rows;
        for (int row = mode == VerticalMode::Preview ? 1 : 0; rowBreaks && row < screen.rows; ++row)
            rows += u"\r\n";
        return {VerticalResult::Converted, rows};
    }
    // Laid out in full before the budget question: the budget is a whole number of pages, so
    // cutting keeps the first pages as they are.
    VerticalPages pages(body, screen, rowBreaks);
    const std::size_t length = pages.length();
    const std::size_t pageSize = static_cast<std::size_t>(screen.columns) * static_cast<std::size_t>(screen.rows);
    const std::size_t budget = static_cast<std::size_t>(verticalBudget(screen));

    // A narrow screen takes one page only; when cutting to the budget cannot bring the text
    // down to one page (or would leave nothing), asking about the budget first is pointless.
    const bool narrow = screen.columns < 5;
    if (narrow && length > pageSize && (budget > pageSize || budget == 0))
        return {VerticalResult::CannotLayOut, {}};

    std::size_t kept = length;
    if (length > budget) {
        std::u16string question = decimal(static_cast<long long>(length - budget));
        question += OverBudgetText;
        if (prompts.question(OverBudgetTitle, question, Buttons::YesNo, Icon::Question) == Answer::Yes)
            kept = budget;
        else if (mode == VerticalMode::TextView)
            return {VerticalResult::Declined, {}};
    }
    if (narrow && kept > pageSize)
        return {VerticalResult::CannotLayOut, {}};
    std::u16string text = pages.text(kept);
    if (mode == VerticalMode::Preview)
        text.resize(text.size() - 2); // no empty line after the last row
    return {VerticalResult::Converted, std::move(text)};
}

} // namespace core
