#pragma once

#include "core/text/EmojiSwap.h"

#include <optional>
#include <string>
#include <string_view>

namespace core {

// Emoji.code for the replace commands: read on every use, so a change to the file takes effect
// at once, but parsed and made ready again only when its bytes differ from the last ones.
class EmojiTableFile {
public:
    // nullptr when the file is missing or cannot be read.
    const EmojiSwapper* read(std::u16string_view path);

private:
    std::string m_bytes; // of the table below
    std::optional<EmojiSwapper> m_table;
};

} // namespace core
