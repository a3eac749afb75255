// Placeholders until the mailbox commands land.
#include "core/app/Editor.h"

namespace core {

void Editor::send() {}
void Editor::saveDraft() {}
void Editor::newMail() {}
void Editor::signatureButton() {}
void Editor::sendImage() {}
void Editor::copyDisp(int) {}
void Editor::loadTextFile(std::u16string_view) {}

} // namespace core
