#pragma once

// The layout rules done the slow, obvious way (every replacement searches again from the
// start), to check the single-pass code against.
#include "core/app/Prompts.h"

#include <optional>
#include <string>

namespace literal {

std::u16string fullWidth(const std::u16string& text);

// The forward conversion for screens of five or more columns; answer is given to the
// over-budget question. nullopt when the answer stops the conversion. asked receives the
// question text ("" when none).
std::optional<std::u16string> vertical(const std::u16string& body, int columns, int rows, int mode, core::Answer answer,
                                       std::u16string& asked);

std::optional<std::u16string> horizontal(std::u16string text, int modelColumns, int modelRows);

} // namespace literal
