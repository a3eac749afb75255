#include "core/app/Editor.h"
#include "platform/Dir.h"

namespace core {

Editor::Editor(Prompts& prompts, const Clock& clock, std::u16string programFolder, std::u16string documentFolder)
    : m_prompts(prompts), m_clock(clock), m_programFolder(std::move(programFolder)),
      m_documentFolder(std::move(documentFolder)) {}

std::u16string Editor::programFile(std::u16string_view name) const {
    std::u16string path = m_programFolder;
    path += u'\\';
    path += name;
    return path;
}

std::u16string Editor::readmeFile() const {
    std::u16string path = programFile(u"readme.txt");
    if (platform::fileExists(path))
        return path;
    if (m_documentFolder.empty())
        return {};
    path = m_documentFolder + u"\\readme.txt";
    return platform::fileExists(path) ? path : std::u16string();
}

} // namespace core
