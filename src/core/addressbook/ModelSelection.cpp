// The model box, the destination list, and the preview box sized for the chosen phone.
#include "core/app/Editor.h"

#include "core/addressbook/AddressBook.h"
#include "core/addressbook/ModelList.h"
#include "core/app/Strings.h"
#include "platform/Dir.h"
#include "platform/Files.h"

namespace core {

namespace {

// With nothing selected yet the screen is the start-up model's.
ScreenSize selectedScreen(const ComboBox& box) {
    const int index = box.listIndex;
    if (index < 0 || index >= static_cast<int>(box.items.size()))
        return screenSize(presetModels().front().screenCode);
    return screenSize(box.items[static_cast<std::size_t>(index)].data);
}

} // namespace

void Editor::loadModelList() {
    models = readModelList(programFile(ModelFile));
    s.Combo3.items.clear();
    for (const ModelEntry& model : models)
        s.Combo3.items.push_back({model.name, model.screenCode});
    s.Combo3.listIndex = -1;
    view().refresh();
}

void Editor::loadToAddressList() {
    const std::u16string path = programFile(AddressBookFile);
    s.Combo1.items.clear();
    if (!platform::fileExists(path)) {
        s.Command6.enabled = false;
        view().refresh();
        return;
    }
    if (auto lines = platform::readLines(path))
        s.Combo1.items = destinationItems(*lines, models);
    view().refresh();
}

void Editor::modelSelected(int index) {
    if (index < 0 || index >= static_cast<int>(s.Combo3.items.size()))
        return;
    s.Combo3.listIndex = index;
    const ScreenSize screen = selectedScreen(s.Combo3);
    s.Text3.rect.width = 180 * screen.columns + 315;
    s.Text3.rect.height = 180 * screen.rows + 90;
    s.Frame3.rect.width = s.Text3.rect.width + 300;
    s.Command5.rect.top = s.Text3.rect.top + s.Text3.rect.height + 90;
    s.Check3.rect.top = s.Command5.rect.top + 480;
    s.Label4.rect.top = s.Check3.rect.top + 360;
    view().refresh();
    relayout();
    if (s.Check3.checked)
        convertToVertical(0);
    else if (m_rowsShown)
        updatePreview(); // the body's rows on the new screen
}

int Editor::screenColumns() const {
    return selectedScreen(s.Combo3).columns;
}
int Editor::screenRows() const {
    return selectedScreen(s.Combo3).rows;
}

} // namespace core
