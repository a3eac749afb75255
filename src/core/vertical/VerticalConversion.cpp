#include "core/vertical/VerticalConversion.h"

#include "core/app/Strings.h"
#include "core/vertical/VerticalLayout.h"

namespace core {

VerticalResult toVertical(std::u16string_view body, ScreenSize screen, VerticalMode mode, Prompts& prompts) {
    if (screen.rows < 1)
        return {VerticalResult::CannotLayOut, {}};
    ColumnText columns(body, screen.rows);
    std::u16string_view text = columns.view();
    const std::size_t pageSize = static_cast<std::size_t>(screen.columns) * static_cast<std::size_t>(screen.rows);
    const std::size_t budget = static_cast<std::size_t>(verticalBudget(screen));

    // A narrow screen takes one page only; when cutting to the budget cannot bring the text
    // down to one page (or would leave nothing), asking about the budget first is pointless.
    const bool narrow = screen.columns < 5;
    if (narrow && text.size() > pageSize && (budget > pageSize || budget == 0))
        return {VerticalResult::CannotLayOut, {}};

    if (text.size() > budget) {
        std::u16string question = decimal(static_cast<long long>(text.size() - budget));
        question += OverBudgetText;
        if (prompts.question(OverBudgetTitle, question, Buttons::YesNo, Icon::Question) == Answer::Yes) {
            columns.truncate(budget);
            text = columns.view();
        } else if (mode == VerticalMode::TextView)
            return {VerticalResult::Declined, {}};
    }
    if (narrow && text.size() > pageSize)
        return {VerticalResult::CannotLayOut, {}};
    return {VerticalResult::Converted, layOutPages(text, screen, mode == VerticalMode::TextView)};
}

} // namespace core
