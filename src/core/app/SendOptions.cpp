// Destination, sending account, own address and the send options of the i-mode menu.
#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "core/text/PhoneText.h"

#include <algorithm>

namespace core {

namespace {

// The entry a stored number names, or -1 when it names none of the count entries.
int entryOf(int index, std::size_t count) {
    return index >= 0 && index < static_cast<int>(count) ? index : -1;
}

void checkSender(MainState& s, int k) {
    if (int old = entryOf(s.senderIndex, s.OutAdr.size()); old >= 0)
        s.OutAdr[static_cast<std::size_t>(old)].checked = false;
    s.senderIndex = k;
    s.OutAdr[static_cast<std::size_t>(k)].checked = true;
}

} // namespace

void Editor::destinationTextChanged(std::u16string_view text) {
    ComboBox& box = s.Combo1;
    // A single-line box: a pasted line break becomes a space.
    box.text = oneLine(text);
    if (box.text != text) {
        box.selStart = std::min(box.selStart, static_cast<int>(box.text.size()));
        box.selLength = 0;
    }
    if (toPhoneLine(box.text, box.selStart, false))
        box.selLength = 0;
    if (box.text.empty() || box.text.back() != u'@')
        return;
    // Offer the carrier's domain after "@", selected so that typing replaces it.
    const int typed = static_cast<int>(box.text.size());
    box.text += CarrierDomain;
    box.selStart = typed;
    box.selLength = static_cast<int>(CarrierDomain.size());
}

void Editor::destinationItemPicked(int index) {
    ComboBox& box = s.Combo1;
    if (index < 0 || index >= static_cast<int>(box.items.size()))
        return;
    box.listIndex = index;
    box.text = box.items[static_cast<std::size_t>(index)].text;
    const int model = box.items[static_cast<std::size_t>(index)].data;
    if (s.Combo3.listIndex < 0 || model < 0 || model >= static_cast<int>(s.Combo3.items.size()))
        modelSelected(0);
    else
        modelSelected(model);
}

void Editor::accountPicked(int index) {
    if (index < 0 || index >= static_cast<int>(s.Combo2.items.size()))
        return;
    s.Combo2.listIndex = index;
    s.accountIndex = index;
    // Start-up restores the stored own address, so the change mode only acts on a shown window.
    if (s.accountChangeMode <= 0 || !s.window.visible)
        return;
    if (s.OutAdrChg[2].checked)
        ownAddressChosen(index + 1);
    else if (s.OutAdrChg[1].checked && index + 1 < static_cast<int>(s.OutAdr.size()))
        checkSender(s, index + 1);
}

void Editor::ownAddressChosen(int k) {
    if (k < 0 || k >= static_cast<int>(s.OutAdr.size()))
        return;
    const int current = entryOf(s.senderIndex, s.OutAdr.size());
    if (current == k)
        return;
    const std::u16string currentCaption = current >= 0 ? s.OutAdr[static_cast<std::size_t>(current)].caption : u"";
    if (m_prompts.question(u"変更",
                           u"使用する自分のi-mode用アドレス(" + currentCaption + u")を\r\n" +
                               s.OutAdr[static_cast<std::size_t>(k)].caption + u"に変更しますか？",
                           Buttons::YesNo) == Answer::Yes)
        checkSender(s, k);
}

void Editor::changeModeChosen(int k) {
    if (k < 0 || k >= static_cast<int>(s.OutAdrChg.size()))
        return;
    const int current = entryOf(s.accountChangeMode, s.OutAdrChg.size());
    if (current == k)
        return;
    if (current >= 0)
        s.OutAdrChg[static_cast<std::size_t>(current)].checked = false;
    s.accountChangeMode = k;
    s.OutAdrChg[static_cast<std::size_t>(k)].checked = true;
}

int Editor::senderEntry() {
    const int current = entryOf(s.senderIndex, s.OutAdr.size());
    if (current >= 0)
        return current;
    // A stored number naming no entry would send with an empty "From:".
    s.senderIndex = 0;
    s.OutAdr[0].checked = true;
    return 0;
}

void Editor::sendOptionChosen(MenuItem& item) {
    item.checked = !item.checked;
}

} // namespace core
