// Placeholders until the text commands land.
#include "core/app/Editor.h"

namespace core {

void Editor::bodyEdited(int pos, int removed, std::u16string_view added) {
    s.Text1.text.replace(static_cast<std::size_t>(pos), static_cast<std::size_t>(removed), added);
}
void Editor::replaceBody(int pos, int removed, std::u16string_view text) {
    s.Text1.text.replace(static_cast<std::size_t>(pos), static_cast<std::size_t>(removed), text);
    view().bodyReplaced(pos, removed, text);
}
void Editor::setBody(std::u16string_view text) { replaceBody(0, static_cast<int>(s.Text1.text.size()), text); }
void Editor::setPreviewText(std::u16string_view text) {
    int old = static_cast<int>(s.Text3.text.size());
    s.Text3.text = text;
    view().previewReplaced(0, old, text);
}
void Editor::bodySelectionChanged(int start, int length) {
    s.Text1.selStart = start;
    s.Text1.selLength = length;
}
void Editor::onBodyChanged() {}
void Editor::checkOverflow() {}
void Editor::setOptionBox(int index, bool checked) { s.Check1[static_cast<std::size_t>(index)].checked = checked; }
void Editor::setImode(bool checked) { s.Check2.checked = checked; }
void Editor::setVerticalPreview(bool checked) { s.Check3.checked = checked; }
void Editor::titleChanged(std::u16string_view text) { s.Text2.text = text; }
bool Editor::bodyKeyPress(const BodyKey&) { return false; }
void Editor::bodyKeyRelease() {}
void Editor::countRun() {}
void Editor::conversion(int) {}
void Editor::conversionChain() {}
void Editor::insertEmoji(int) {}

} // namespace core
