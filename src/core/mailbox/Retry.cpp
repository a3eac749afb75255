#include "core/mailbox/Retry.h"

#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "core/mailbox/MessageRecord.h"
#include "platform/Dir.h"
#include "platform/Files.h"

namespace core::mailbox {

namespace {

constexpr std::u16string_view RetryTitle = u"再送信確認";

// The folder whose presence tells that Becky! is still where we think it is.
std::u16string homeFolder(const Editor& e, int accountNo) {
    if (isBecky2Outbox(accountNo, e.Becky2InUse)) {
        std::size_t sep = e.BeckyPath.rfind(u'\\');
        return sep == std::u16string::npos ? std::u16string() : e.BeckyPath.substr(0, sep);
    }
    return accountFolder(e.BeckyPath, accountNo);
}

bool ask(Editor& e, std::u16string_view text) {
    return e.prompts().question(RetryTitle, text, Buttons::YesNo) == Answer::Yes;
}

void rediscover(Editor& e) {
    int position = e.s.Combo2.listIndex;
    e.discoverBecky();
    if (position >= 0 && position < static_cast<int>(e.s.Combo2.items.size())) {
        e.s.Combo2.listIndex = position;
        e.accountPicked(position);
    }
    e.view().refresh();
}

} // namespace

bool writeWithRetries(Editor& e, std::u16string& target, int& accountNo, const std::string& bytes, bool draft) {
    int attempt = 1;
    for (;;) {
        if (platform::appendRecord(target, bytes))
            return true;
        ++attempt;
        if (!ask(e, u"BECKYが送受信処理中です。送信できません。" + decimal(attempt) + u"度目の送信を試みますか？。"))
            return false;
        std::u16string folder = homeFolder(e, accountNo);
        if (!folder.empty() && platform::folderExists(folder))
            continue;
        if (!ask(e, u"BECKYの位置がつかめません、再設定を試みます。"))
            continue;
        rediscover(e);
        attempt = 1;
        auto account = e.s.selectedAccountNo();
        if (!account) { // the accounts found now do not reach the one chosen before
            e.prompts().message(AppTitle, NoAccountText, Icon::Exclamation);
            return false;
        }
        accountNo = *account;
        target = targetPath(e.BeckyPath, accountNo, e.Becky2InUse, draft, e.programFolder());
        if (draft)
            continue;
        if (isBecky2Outbox(accountNo, e.Becky2InUse))
            removeFolderIndex(e.BeckyPath);
        if (!ask(e, u"設定を変更しました。再送信なさいますか？"))
            return false;
        e.prompts().message(AppTitle, u"送信が完了した後は、念の為、ことり便を再起動してください。");
    }
}

} // namespace core::mailbox
