#pragma once

#include "core/text/EmojiSwap.h"
#include "platform/FileStamp.h"

#include <optional>
#include <string>
#include <string_view>

namespace core {

// Emoji.code for the replace commands: looked at on every use, so a change to the file takes
// effect at once, but read again only when its stamp changed or it was written lately, and
// parsed and made ready again only when its bytes differ from the last ones.
class EmojiTableFile {
public:
    // nullptr when the file is missing or cannot be read.
    const EmojiSwapper* read(std::u16string_view path);

private:
    std::string m_bytes; // of the table below
    std::optional<EmojiSwapper> m_table;
    platform::FileStamp m_stamp; // taken before m_bytes were read
    bool m_settled = false;      // the stamp alone tells whether the file still holds m_bytes
};

} // namespace core
