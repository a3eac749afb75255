// Placeholders until the address book commands land.
#include "core/app/Editor.h"

namespace core {

void Editor::loadModelList() {}
void Editor::loadToAddressList() {}
void Editor::modelSelected(int) {}
int Editor::screenColumns() const { return 8; }
int Editor::screenRows() const { return 9; }

} // namespace core
