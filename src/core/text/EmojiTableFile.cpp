#include "core/text/EmojiTableFile.h"

#include "platform/Files.h"

namespace core {

const EmojiSwapper* EmojiTableFile::read(std::u16string_view path) {
    auto bytes = platform::readBytes(path);
    if (!bytes)
        return nullptr;
    if (!m_table || *bytes != m_bytes) {
        m_table.emplace(parseEmojiFile(*bytes)); // a throw leaves the old table and bytes, or none
        m_bytes = std::move(*bytes);
    }
    return &*m_table;
}

} // namespace core
