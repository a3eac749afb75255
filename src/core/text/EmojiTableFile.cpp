#include "core/text/EmojiTableFile.h"

#include "platform/Files.h"

namespace core {

const EmojiSwapper* EmojiTableFile::read(std::u16string_view path) {
    // Taken before the read: a write after it changes the stamp, or comes so soon after the
    // one before that the stamp does not count.
    const auto stamp = platform::fileStamp(path);
    if (!stamp)
        return nullptr;
    if (m_table && m_settled && *stamp == m_stamp)
        return &*m_table;
    m_settled = false;
    auto bytes = platform::readBytes(path);
    if (!bytes)
        return nullptr;
    if (!m_table || *bytes != m_bytes) {
        m_table.emplace(parseEmojiFile(*bytes)); // a throw leaves the old table and bytes, or none
        m_bytes = std::move(*bytes);
    }
    m_stamp = *stamp;
    m_settled = platform::settled(*stamp);
    return &*m_table;
}

} // namespace core
