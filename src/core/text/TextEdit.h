#pragma once

#include "core/text/GapText.h"

#include <string_view>

// An edit of a text: `removed` units at `pos` replaced by `added` units. Lets copies of the
// body (the preview, the counted copy) follow it without being rebuilt.
namespace core {

struct TextEdit {
    int pos = 0;
    int removed = 0;
    int added = 0;
};

// True when `before` with the edit applied may be `after`: the sizes agree and so does the text
// within `reach` units of the edit on either side (the edit's own text is taken from `after`).
// Every change the editor makes to the body reports its edit, so further out nothing can
// differ; comparing a long body whole would cost a keystroke more than all the rest it does.
bool sameAround(GapText& before, std::u16string_view after, const TextEdit& edit, std::size_t reach);

// The smallest edit turning `before` into `after` (common start and end left alone).
TextEdit smallestEdit(std::u16string_view before, std::u16string_view after);

} // namespace core
