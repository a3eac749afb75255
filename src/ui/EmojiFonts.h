#pragma once

#include <QStringList>

namespace ui {

// Registers the compiled-in fonts that draw the i-mode emoji (private-use characters) as
// pictures, once; the text itself keeps the private-use characters.
void registerEmojiFonts();

// Their families, to follow a widget's own fonts; empty when they are not built in.
const QStringList& emojiFamilies();

} // namespace ui
