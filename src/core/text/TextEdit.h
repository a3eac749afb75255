#pragma once

#include <string_view>

// An edit of a text: `removed` units at `pos` replaced by `added` units. Lets copies of the
// body (the preview, the counted copy) follow it without being rebuilt.
namespace core {

struct TextEdit {
    int pos = 0;
    int removed = 0;
    int added = 0;
};

bool sameText(std::u16string_view a, std::u16string_view b);

// True when `before` with the edit applied equals `after`: only the text around the edit needs
// comparing, as the edit's own text is taken from `after`.
bool sameAround(std::u16string_view before, std::u16string_view after, const TextEdit& edit);

// The smallest edit turning `before` into `after` (common start and end left alone).
TextEdit smallestEdit(std::u16string_view before, std::u16string_view after);

} // namespace core
