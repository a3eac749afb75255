// Placeholders until the vertical commands land.
#include "core/app/Editor.h"

namespace core {

void Editor::convertToVertical(int) {}
void Editor::verticalModeButton() {}
void Editor::previewAreaToggle() {}
void Editor::viewPre(int) {}
void Editor::preTate(int) {}
void Editor::yokoPre() {}

} // namespace core
