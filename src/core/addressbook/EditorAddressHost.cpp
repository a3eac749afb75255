#include "core/addressbook/AddressBookHost.h"

#include "core/app/Editor.h"

namespace core {

Prompts& EditorAddressHost::prompts() {
    return m_prompts ? *m_prompts : m_editor.prompts();
}
std::u16string EditorAddressHost::programFile(std::u16string_view name) const {
    return m_editor.programFile(name);
}
std::u16string EditorAddressHost::programFolder() const {
    return m_editor.programFolder();
}
std::u16string EditorAddressHost::beckyPath() const {
    return m_editor.BeckyPath;
}
const std::vector<ModelEntry>& EditorAddressHost::models() const {
    return m_editor.models;
}
bool EditorAddressHost::imodeShown() const {
    return m_editor.s.Check2.visible;
}
bool EditorAddressHost::imodeOn() const {
    return m_editor.s.Check2.checked;
}
void EditorAddressHost::switchImodeOn() {
    m_editor.setImode(true);
    m_editor.view().refresh();
}
std::u16string EditorAddressHost::destination() const {
    return m_editor.s.Combo1.text;
}
void EditorAddressHost::setDestination(std::u16string_view text) {
    m_editor.destinationTextChanged(text);
    m_editor.view().refresh();
}
void EditorAddressHost::addDestination(std::u16string_view address) {
    m_editor.s.Combo1.items.push_back({std::u16string(address), 0});
    m_editor.view().refresh();
}
std::optional<std::string> EditorAddressHost::writeBook(const std::vector<AddressEntry>& entries,
                                                        const std::optional<std::string>& loaded) {
    return writeAddressBook(m_editor, entries, loaded);
}
void EditorAddressHost::enableAddressButton() {
    m_editor.s.Command6.enabled = true;
    m_editor.view().refresh();
}
int EditorAddressHost::lastGroupIndex() const {
    return m_editor.s.lastGroupIndex;
}
void EditorAddressHost::setLastGroupIndex(int index) {
    m_editor.s.lastGroupIndex = index;
}

} // namespace core
