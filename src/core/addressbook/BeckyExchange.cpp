// The Becky kind of the address book window, the import of a Becky! entry into the MY book
// and the export of the MY book as a Becky! group.
#include "core/addressbook/AddressBookForm.h"

#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "platform/Dir.h"
#include "platform/Files.h"

namespace core {

namespace {

// A group is listed when its file can be read and, with the i-mode setting on, when one of
// its lines mentions the carrier anywhere.
bool listsGroup(std::u16string_view path, bool imodeOn) {
    if (!imodeOn)
        return platform::readBytes(path).has_value();
    auto lines = platform::readLines(path);
    if (!lines)
        return false;
    for (const std::u16string& line : *lines)
        if (contains(line, CarrierTag))
            return true;
    return false;
}

// A group name becomes a file name inside the address book folder, nothing else.
bool usableGroupName(std::u16string_view name) {
    return name.find_first_of(u"\\/:*?\"<>|") == std::u16string_view::npos && name != u"." && name != u"..";
}

} // namespace

void AddressBookForm::openBeckyGroups() {
    if (m_host.imodeShown() && !m_host.imodeOn() &&
        prompts().question(u"CHECK",
                           u"設定がi-mode用になっていませんが、i-mode用のアドレス帳として起動しますか？\r\n"
                           u"(i-mode設定欄にチェックが入ります。)",
                           Buttons::YesNo) == Answer::Yes)
        m_host.switchImodeOn();
    const std::u16string folder = m_host.beckyPath() + u"AddrBook";
    Combo1.items.clear();
    Combo1.listIndex = -1;
    entries.clear();
    row = -1;
    kind = BookKind::Becky;
    const bool imodeOn = m_host.imodeOn();
    for (const std::u16string& file : platform::list(folder + u"\\*.adr", false))
        if (file.size() > 4 && listsGroup(folder + u"\\" + file, imodeOn))
            Combo1.items.push_back({file.substr(0, file.size() - 4), 0});
    bookFolder = folder;
    const int last = m_host.lastGroupIndex();
    const int groups = static_cast<int>(Combo1.items.size());
    if (last >= 0 && last < groups)
        kindChosen(last);
    else if (groups > 0)
        kindChosen(0);
    for (std::size_t i = 0; i < 3; ++i)
        Command3[i].enabled = false;
    refreshView();
}

void AddressBookForm::importEntry() {
    if (row < 0 || row >= static_cast<int>(entries.size()))
        return;
    const AddressEntry& entry = entries[static_cast<std::size_t>(row)];
    if (prompts().question(u"インポート", entry.name + u"をMYアドレス帳に登録しますか？", Buttons::YesNo) !=
        Answer::Yes)
        return;
    // The destination list follows the file: nothing changes unless the line is stored.
    const std::u16string book = m_host.programFile(AddressBookFile);
    if (!appendAddressEntry(book, entry)) {
        prompts().message(AppTitle, u"MYアドレス帳に書き込めませんでした。\r\n" + book, Icon::Exclamation);
        return;
    }
    m_host.addDestination(Text1[AddressField].text);
    m_host.enableAddressButton();
}

bool AddressBookForm::exportTargetReady() {
    const std::u16string beckyPath = m_host.beckyPath();
    // Only a Becky! 1.26 data folder (a path ending in a separator) has an AddrBook folder.
    const bool becky1 = !beckyPath.empty() && beckyPath != NoBecky && beckyPath.back() == u'\\';
    if (becky1 && platform::folderExists(beckyAddrBookFolder))
        return true;
    std::u16string text = u"Becky! 1.26 のアドレス帳フォルダが見つからないため、エクスポートできません。";
    if (becky1)
        text += u"\r\n" + beckyAddrBookFolder;
    prompts().message(u"Beckyエクスポート", text, Icon::Exclamation);
    return false;
}

void AddressBookForm::exportBook() {
    if (!exportTargetReady())
        return;
    if (prompts().question(u"Beckyエクスポート", u"MYアドレス帳をベッキーのアドレス帳に追加しますか？",
                           Buttons::YesNo) != Answer::Yes)
        return;
    const std::u16string group =
        prompts().input(u"Beckyのアドレス帳で使用するグループ名を指定してください。", u"グループ名指定", u"i-mode");
    if (group.empty())
        return;
    if (!usableGroupName(group)) {
        prompts().message(u"グループ名指定", u"グループ名には、次の文字は使えません。\r\n\\ / : * ? \" < > |",
                          Icon::Exclamation);
        return;
    }
    const std::u16string target = beckyAddrBookFolder + u"\\" + group + u".Adr";
    if (platform::fileExists(target) &&
        prompts().question(u"上書き確認",
                           u"そのグループ名は、既に存在します。上書きしますか？\r\n"
                           u"※注意:上書きしてしまうと既存のデータは、消えてしまいます。",
                           Buttons::YesNo) != Answer::Yes)
        return;
    // The group is addr.adr as last saved, byte for byte.
    const std::u16string book = m_host.programFile(AddressBookFile);
    const auto bytes = platform::readBytes(book);
    if (!bytes) {
        prompts().message(AppTitle, u"MYアドレス帳を読み込めませんでした。\r\n" + book, Icon::Exclamation);
        return;
    }
    if (!platform::replaceFile(target, *bytes)) {
        prompts().message(AppTitle, u"Beckyのアドレス帳に書き込めませんでした。\r\n" + target, Icon::Exclamation);
        return;
    }
    prompts().message(AppTitle, u"追加完了しました。");
}

} // namespace core
