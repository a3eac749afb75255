// File-read mode of the address book window: the drop target of the open command.
#include "core/addressbook/AddressBookForm.h"

#include <initializer_list>

namespace core {

void AddressBookForm::openFileRead() {
    kind = BookKind::FileRead;
    fileReadChoice = u"1";
    Frame1.visible = true;
    // The rest of the window lies behind the frame, out of reach.
    for (Control* c : std::initializer_list<Control*>{&Combo1, &List1, &Frame2, &Command1, &Command2, &Label1})
        c->visible = false;
    for (Button& b : Command3)
        b.visible = false;
    Frame1.rect.left = 0;
    Frame1.rect.top = 0;
    // The window fits the frame.
    resized(Frame1.rect.width, Frame1.rect.height);
    caption = u"読み込み";
    refreshView();
}

bool AddressBookForm::filesDropped(const std::vector<std::u16string>& paths) {
    if (kind != BookKind::FileRead || fileChosen())
        return false;
    for (const std::u16string& path : paths)
        if (prompts().question(u"ことり", path + u"を読み込みますか？", Buttons::YesNo) == Answer::Yes) {
            fileReadChoice = path;
            break;
        }
    return fileChosen();
}

} // namespace core
