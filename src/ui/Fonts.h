#pragma once

#include <QFont>

#include <string_view>

namespace ui {

// The named Windows font, falling back to an installed Japanese font of the same kind
// (serif for 明朝 / Mincho, sans otherwise).
QFont japaneseFont(std::u16string_view name, double pointSize);

// japaneseFont for a text box. Unshaped, its glyphs come straight from the fonts' maps, which
// is all the phone's code page needs and makes laying out a line far cheaper (every keystroke
// lays out one of the body and one of the preview); the i-mode emoji draw in colour only shaped.
QFont textBoxFont(std::u16string_view name, double pointSize, bool shaped);

} // namespace ui
