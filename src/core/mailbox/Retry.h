#pragma once

#include <string>
#include <string_view>

namespace core {
class Editor;
}

namespace core::mailbox {

// Shown instead of writing anywhere when no account is selected.
inline constexpr std::u16string_view NoAccountText =
    u"送信するアカウントが選ばれていません。アカウントを選ぶか、再設定を行ってください。";

// Appends the record to target, asking to retry while it fails (Becky! may hold the file) and
// finding Becky! again when its folder has gone. target and accountNo follow a re-discovery.
bool writeWithRetries(Editor& editor, std::u16string& target, int& accountNo, const std::string& bytes, bool draft);

} // namespace core::mailbox
