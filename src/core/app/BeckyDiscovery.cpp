// Finding Becky!: Becky! 2 from its data folder, Becky! 1.26 from its registry settings.
#include "core/app/Editor.h"
#include "core/app/PointerFiles.h"
#include "core/app/Strings.h"
#include "platform/Dir.h"
#include "platform/Files.h"
#include "platform/Registry.h"

#include <optional>

namespace core {

namespace {

constexpr std::u16string_view Becky2Settings = u"Software\\RIMArts\\B2\\Settings";
constexpr std::u16string_view Becky1Settings = u"Software\\RIMArts\\Rebecca\\Settings";
constexpr int MaxAccount = 20;

std::u16string userKey(int i) {
    return u"Software\\RIMArts\\Rebecca\\Users\\" + decimal(i);
}

// A name or address from the registry goes into one-line menus, headers and pointer files.
std::u16string regLine(int account, std::u16string_view valueName) {
    return oneLine(platform::getRegString(userKey(account), valueName));
}

struct OwnAddress {
    std::u16string address;
    bool entered = false; // the user typed another address instead of the proposal
};

OwnAddress confirmOwnAddress(Prompts& prompts, const std::u16string& proposal) {
    const std::u16string title = u"***@" + std::u16string(CarrierDomain) + u"がいいよ。";
    if (prompts.question(title, u"使用するi-mode用のメールアドレスは、[" + proposal + u"]でよろしいですか？",
                         Buttons::YesNo) == Answer::Yes)
        return {proposal, false};
    std::u16string entered = prompts.input(u"あなたのメールアドレスを教えてください。", u"Your MailAdr!",
                                           u"@" + std::u16string(CarrierDomain));
    if (entered.empty())
        return {proposal, false};
    return {oneLine(entered), true};
}

std::optional<std::u16string> firstName(std::u16string_view pattern, bool includeFolders) {
    auto names = platform::list(pattern, includeFolders);
    if (names.empty())
        return std::nullopt;
    return names.front();
}

std::u16string proposedBecky2Address(const std::u16string& mailboxFolder) {
    auto lines = platform::readLines(mailboxFolder + u"\\Mailbox.ini");
    if (!lines)
        return {};
    for (const std::u16string& line : *lines)
        if (startsWith(line, u"MailAddress"))
            return line.size() > 12 ? line.substr(12) : std::u16string();
    return {};
}

// Hides the main window while the set-up runs and shows it as it was whichever way it ends.
class HiddenWindow {
public:
    explicit HiddenWindow(Editor& e) : m_e(e), m_wasVisible(e.s.window.visible) {
        m_e.s.window.visible = false;
        m_e.view().refresh();
    }
    ~HiddenWindow() { restore(); }
    void restore() {
        if (m_restored)
            return;
        m_restored = true;
        m_e.s.window.visible = m_wasVisible;
        m_e.view().refresh();
    }
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;

private:
    Editor& m_e;
    bool m_wasVisible;
    bool m_restored = false;
};

// Waits until the user has Becky! 2 put a mail into the outbox; nullopt when they give up.
std::optional<std::u16string> waitForMailboxFile(Editor& e, const std::u16string& outbox) {
    Prompts& prompts = e.prompts();
    const std::u16string pattern = outbox + u"\\*.bmf";
    std::optional<std::u16string> found;
    for (;;) {
        if (e.view().waitUntil([&] { return (found = firstName(pattern, false)).has_value(); }, 30000, 100))
            return found;
        if (prompts.question(u"質問", u"Becky2を起動して何でも良いのでメールを送信箱に移動しましたか？",
                             Buttons::YesNo) == Answer::Yes)
            continue;
        if (prompts.question(u"質問", u"Becky2への暫定対応を中止しますか？", Buttons::YesNo) == Answer::Yes)
            return std::nullopt;
    }
}

void setUpBecky2(Editor& e, std::u16string dataDir) {
    Prompts& prompts = e.prompts();
    HiddenWindow hidden(e);
    if (!dataDir.ends_with(u'\\'))
        dataDir += u'\\';
    e.BeckyPath = dataDir; // what a failed set-up leaves: the path reached so far
    auto mailbox = firstName(dataDir + u"*.mb", true);
    if (!mailbox) {
        prompts.message(AppTitle, u"対応されていないエラーが生じたようです。ことり便pluginの完成をお待ち下さい。");
        return;
    }
    const std::u16string mailboxFolder = dataDir + *mailbox;
    e.BeckyPath = mailboxFolder;
    auto outboxName = firstName(mailboxFolder + u"\\*Outbox", true);
    if (!outboxName) {
        prompts.message(AppTitle,
                        u"対応されていないエラーその２が生じたようです。ことり便pluginの完成をお待ち下さい。");
        return;
    }
    const std::u16string outbox = mailboxFolder + u"\\" + *outboxName;
    e.BeckyPath = outbox;

    const std::u16string proposal = proposedBecky2Address(mailboxFolder);
    const OwnAddress own = confirmOwnAddress(prompts, proposal);
    std::u16string accountAddress = own.entered ? proposal : std::u16string();

    auto file = firstName(outbox + u"\\*.bmf", false);
    if (!file) {
        if (prompts.question(u"確定しますか?", u"Becky2の送信箱を選定することができませんでした。確定しますか?",
                             Buttons::YesNo) != Answer::Yes) {
            prompts.message(u"あしからず", u"暫定対応は、しないことにします。");
            return;
        }
        prompts.message(AppTitle,
                        u"Becky2の送信箱を確定するために、Becky2を起動してメールを送信箱に入れてみてください。");
        file = waitForMailboxFile(e, outbox);
        if (!file)
            return;
    }
    e.BeckyPath = outbox + u"\\" + *file;
    e.AccountAddress = accountAddress;
    e.Becky2InUse = true;
    if (!writePointerFile(e, Becky2PointerFile, {e.BeckyPath, own.address, accountAddress})) {
        prompts.message(AppTitle, u"Becky2.milを書き込めませんでした。", Icon::Exclamation);
        return;
    }
    hidden.restore();
    e.view().bringToFront();
    prompts.message(u"暫定対応！", u"Becky2に暫定対応しました。");
    e.ProgramEnding = true;
    e.view().closeWindow();
}

void searchBecky1(Editor& e) {
    MainState& s = e.s;
    e.BeckyPath = platform::getRegString(Becky1Settings, u"HomeDir");
    if (e.BeckyPath.empty() || !platform::folderExists(e.BeckyPath)) {
        e.BeckyPath = NoBecky;
        return;
    }
    std::u16string own = s.OutAdr[0].caption;
    if (own == u"なし")
        own = confirmOwnAddress(e.prompts(), regLine(0, u"Address")).address;
    if (platform::getRegString(userKey(0), u"Account").empty()) {
        e.BeckyPath = NoBecky;
        return;
    }
    std::vector<Becky1Account> accounts;
    for (int i = 0; i <= MaxAccount; ++i) {
        std::u16string name = regLine(i, u"Account");
        if (name.empty())
            break;
        accounts.push_back({std::move(name), 0, {}});
    }
    s.Combo2.items.clear();
    s.Combo2.listIndex = -1;
    e.Becky2InUse = false;
    s.OutAdr[0].caption = own;
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        Becky1Account& a = accounts[i];
        const std::string folderNo = platform::regBytes(userKey(static_cast<int>(i)), u"MailDirNo");
        a.accountNo = folderNo.empty() ? 0 : static_cast<unsigned char>(folderNo[0]);
        a.address = regLine(static_cast<int>(i), u"Address");
        s.Combo2.items.push_back({a.name, a.accountNo});
        ownAddressCaption(e, i + 1) = a.address;
    }
    if (!writePointerFile(e, Becky1PointerFile, becky1PointerLines(e.BeckyPath, own, accounts)))
        e.prompts().message(AppTitle, u"Becky.milを書き込めませんでした。", Icon::Exclamation);
}

} // namespace

void Editor::discoverBecky() {
    std::u16string dataDir = platform::getRegString(Becky2Settings, u"DataDir");
    if (!dataDir.empty() &&
        m_prompts.question(u"Ver.2.0無理矢理対応", u"Becky Ver.2.0がインストールされています。暫定対応しますか？",
                           Buttons::YesNo) == Answer::Yes) {
        setUpBecky2(*this, std::move(dataDir));
        return;
    }
    searchBecky1(*this);
}

} // namespace core
