#pragma once

#include "core/app/MainState.h"

#include <string>

namespace core {

// UsedEmoji: the emoji inserted since the last new mail, one character per insertion. Every
// emoji command reaches it through here.
inline std::u16string& usedEmoji(MainState& s) {
    return s.PutChar[0].tag;
}

} // namespace core
