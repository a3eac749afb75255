#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The text of a file written as UTF-8 (as text editors outside Windows save it): bytes that
// start with the UTF-8 signature, or that are strictly valid UTF-8 holding a character of three
// or four bytes, or holding two-byte characters and not well-formed code page 932. Nothing for
// any other bytes (plain ASCII included), which are then code page 932: its full-width text
// practically never forms valid UTF-8, and its half-width katakana alone are not taken for it.
std::optional<std::u16string> decodeUtf8Text(std::string_view bytes);

} // namespace platform
