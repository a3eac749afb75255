#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The text of a file written as UTF-8 (as text editors outside Windows save it): bytes that
// start with the UTF-8 signature, or that are strictly valid UTF-8 holding at least one
// multi-byte character. Nothing for any other bytes (plain ASCII included), which are then
// code page 932: its Japanese text practically never forms valid UTF-8.
std::optional<std::u16string> decodeUtf8Text(std::string_view bytes);

} // namespace platform
