// Menu commands of the help and file menus that need no state of their own.
#include "core/app/Editor.h"
#include "core/app/Strings.h"

namespace core {

void Editor::about() {
    m_prompts.message(AppTitle, u"ご利用ありがとうございます。\r\nことり便 Plus! バージョン" + ascii(KOTORI_VERSION),
                      Icon::Information);
}

void Editor::readMe() {
    const std::u16string path = readmeFile();
    if (!path.empty())
        view().openDocument(path);
}

void Editor::exitCommand() {
    view().quit();
}

} // namespace core
