#pragma once

#include <string>

namespace core {
class Editor;
}

namespace core::mailbox {

// Appends the record to target, asking to retry while it fails (Becky! may hold the file) and
// finding Becky! again when its folder has gone. target and accountNo follow a re-discovery.
bool writeWithRetries(Editor& editor, std::u16string& target, int& accountNo, const std::string& bytes, bool draft);

} // namespace core::mailbox
