#include "core/text/EmojiTableFile.h"

#include "platform/Files.h"

namespace core {

const EmojiSwapper* EmojiTableFile::read(std::u16string_view path) {
    auto bytes = platform::readBytes(path);
    if (!bytes)
        return nullptr;
    if (!m_table || *bytes != m_bytes) {
        m_table.reset(); // a failed parse leaves no stale table behind
        m_table.emplace(parseEmojiFile(*bytes));
        m_bytes = std::move(*bytes);
    }
    return &*m_table;
}

} // namespace core
