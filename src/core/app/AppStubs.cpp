// Placeholders until the app commands land.
#include "core/app/Editor.h"

namespace core {

void Editor::startup(std::u16string_view) {}
bool Editor::requestClose() { return true; }
void Editor::loadSettings() {}
void Editor::saveSettings() {}
void Editor::resetSettings() {}
void Editor::discoverBecky() {}
void Editor::windowResized(int, int, int, int) {}
void Editor::relayout() {}
void Editor::frameClicked() {}
void Editor::fontSizeChosen(int) {}
void Editor::about() {}
void Editor::readMe() {}
void Editor::exitCommand() {}
void Editor::destinationTextChanged(std::u16string_view) {}
void Editor::destinationItemPicked(int) {}
void Editor::accountPicked(int) {}
void Editor::ownAddressChosen(int) {}
void Editor::changeModeChosen(int) {}
void Editor::sendOptionChosen(MenuItem&) {}

} // namespace core
