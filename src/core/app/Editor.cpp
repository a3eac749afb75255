#include "core/app/Editor.h"

namespace core {

Editor::Editor(Prompts& prompts, const Clock& clock, std::u16string programFolder)
    : m_prompts(prompts), m_clock(clock), m_programFolder(std::move(programFolder)) {}

std::u16string Editor::programFile(std::u16string_view name) const {
    std::u16string path = m_programFolder;
    path += u'\\';
    path += name;
    return path;
}

} // namespace core
