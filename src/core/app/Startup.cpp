// What happens before the main window is first shown: every control is filled from the files
// in the program folder, and the editor decides which Becky! it works with.
#include "core/app/Editor.h"
#include "core/app/PointerFiles.h"
#include "core/app/Strings.h"
#include "core/addressbook/AddressBook.h"
#include "core/addressbook/ModelList.h"
#include "core/mailbox/MessageRecord.h"
#include "core/text/EmojiTable.h"
#include "platform/Dir.h"
#include "platform/Files.h"

#include <utility>

namespace core {

namespace {

constexpr std::size_t QuickMenuSize = 20;

bool exists(const Editor& e, std::u16string_view name) {
    return platform::fileExists(e.programFile(name));
}

// A path given on the command line may come quoted when it holds spaces.
std::u16string_view unquoted(std::u16string_view path) {
    if (path.size() >= 2 && path.front() == u'"' && path.back() == u'"')
        return path.substr(1, path.size() - 2);
    return path;
}

std::vector<std::u16string> linesOf(const Editor& e, std::u16string_view name) {
    auto lines = platform::readLines(e.programFile(name));
    return lines ? std::move(*lines) : std::vector<std::u16string>();
}

void openCommandLineFile(Editor& e, std::u16string_view commandLine) {
    const std::u16string_view path = unquoted(commandLine);
    if (!platform::fileExists(path) || !platform::fileSize(path)) {
        e.prompts().message(AppTitle, std::u16string(path) + u"\r\nこのファイルを読み込むことができませんでした。",
                            Icon::Exclamation);
        return;
    }
    e.loadTextFile(path);
}

// The Becky! 1.26 mail folder of the first account must still be there.
void checkBecky1Folder(Editor& e) {
    const int folderNo = e.s.Combo2.items.empty() ? 2000 : e.s.Combo2.items.front().data;
    if (platform::folderExists(e.BeckyPath + u"User" + decimal(folderNo)))
        return;
    if (e.prompts().question(u"べっきー",
                             u"beckyの設定が変更されている可能性があります。修正しますか？\r\n"
                             u"※修正しないと送信処理が行えません。",
                             Buttons::YesNo) == Answer::Yes)
        e.discoverBecky();
    else
        e.BeckyPath = NoBecky;
}

void switchOffMailFunctions(Editor& e) {
    MainState& s = e.s;
    e.prompts().message(u"ことり便は、brcky v1.26対応です。",
                        u"このパソコンには、becky1.26がインストールされていない可能性がありますので\r\n"
                        u"ことり便のi-mode送信機能は、使えません。");
    e.setImode(false);
    s.Check2.visible = false;
    s.Frame3.visible = false;
    s.Combo2.visible = false;
    s.Command2.enabled = false;
    s.Command7.enabled = false;
    s.imenu.enabled = false;
    s.MnuWindow.enabled = false;
    e.relayout();
}

void findBecky(Editor& e) {
    const bool has1 = exists(e, Becky1PointerFile);
    const bool has2 = exists(e, Becky2PointerFile);
    const bool plugIn = exists(e, PlugInFile);
    if (has1 || has2) {
        bool becky2 = has2;
        if (has1 && has2 && !plugIn)
            becky2 = e.prompts().question(u"ことり便起動チェック", u"B2暫定対応版として起動しますか？",
                                          Buttons::YesNo) == Answer::Yes;
        if (becky2) {
            applyBecky2Pointer(e, linesOf(e, Becky2PointerFile), plugIn);
        } else {
            applyBecky1Pointer(e, linesOf(e, Becky1PointerFile));
            if (e.BeckyPath != NoBecky)
                checkBecky1Folder(e);
        }
    } else {
        e.discoverBecky();
        if (e.ProgramEnding)
            return;
        if (e.BeckyPath != NoBecky)
            e.setImode(true);
    }
    if (!e.ProgramEnding && e.BeckyPath == NoBecky)
        switchOffMailFunctions(e);
}

void selectStoredChoices(Editor& e) {
    MainState& s = e.s;
    // A stored number naming an entry that is gone selects nothing.
    if (!s.Combo2.items.empty())
        if (s.accountIndex >= 0 && s.accountIndex < static_cast<int>(s.Combo2.items.size()))
            e.accountPicked(s.accountIndex);
    s.OutAdr[static_cast<std::size_t>(e.senderEntry())].checked = true;
    if (s.accountChangeMode >= 0 && s.accountChangeMode < 3)
        s.OutAdrChg[static_cast<std::size_t>(s.accountChangeMode)].checked = true;
}

void buildEmojiMenu(Editor& e) {
    auto table = readEmojiTable(e.programFile(u"Emoji.code"));
    if (!table || table->empty())
        return;
    std::vector<MenuItem>& menu = e.s.PutChar;
    for (std::size_t i = 0; i < table->size() && i < QuickMenuSize; ++i) {
        if (i >= menu.size())
            menu.emplace_back();
        menu[i].caption = emojiMenuCaption((*table)[i]);
    }
}

// A record cut short by a kill (a crash, a shutdown) is taken back before anything reads the file.
void recoverProgramFiles(const Editor& e) {
    for (std::u16string_view name : {AddressBookFile, ModelFile, std::u16string_view(u"OutPutLog.mbx")})
        platform::recoverAppend(e.programFile(name));
}

void recoverMailboxes(const Editor& e) {
    if (e.BeckyPath == NoBecky)
        return;
    for (const ListEntry& account : e.s.Combo2.items)
        for (bool draft : {false, true})
            if (draft || !mailbox::isHandOff(account.data, e.Becky2InUse))
                platform::recoverAppend(
                    mailbox::targetPath(e.BeckyPath, account.data, e.Becky2InUse, draft, e.programFolder()));
}

} // namespace

void Editor::startup(std::u16string_view commandLine) {
    if (readmeFile().empty())
        s.ReadMe.enabled = false;
    s.List1.tabStops = {125, 300, 390, 570, 700};
    recoverProgramFiles(*this);
    if (!commandLine.empty())
        openCommandLineFile(*this, commandLine);

    loadModelList();
    modelSelected(0);
    // Thousands of addresses are not needed to draw the window: they follow its first paint.
    if (exists(*this, u"addr.adr"))
        m_destinationsDue = true;
    else
        s.Command6.enabled = false;
    if (exists(*this, u"Kotori.ini"))
        loadSettings();

    findBecky(*this);
    if (ProgramEnding)
        return;
    recoverMailboxes(*this);
    selectStoredChoices(*this);
    buildEmojiMenu(*this);
}

void Editor::afterFirstPaint() {
    if (std::exchange(m_destinationsDue, false))
        loadToAddressList();
}

} // namespace core
