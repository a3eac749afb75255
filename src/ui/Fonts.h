#pragma once

#include <QFont>

#include <string_view>

namespace ui {

// The named Windows font, falling back to an installed Japanese font of the same kind
// (serif for 明朝 / Mincho, sans otherwise).
QFont japaneseFont(std::u16string_view name, double pointSize);

} // namespace ui
