// Every write the editor makes, against a disk that fails: the user is told, no success is
// reported, and every file stays as it was.
#include "MailboxFixture.h"

#include "core/addressbook/AddressBook.h"
#include "core/addressbook/ModelList.h"
#include "core/text/EmojiRegistry.h"
#include "platform/Files.h"
#include "platform/FilesIo.h"
#include "support/TestRegistry.h"

#ifdef _WIN32
#include <windows.h>

#include <io.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <fstream>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

// A write that stops at the first byte, in the middle or at the end, with one of these errors.
const char* const Wheres[] = {"at the first byte", "in the middle", "at the end"};
const int Errors[] = {ENOSPC, EACCES, EISDIR};

// The name of the file a descriptor writes to.
std::string nameOf(int fd) {
#ifdef _WIN32
    wchar_t name[4096];
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    const DWORD n = GetFinalPathNameByHandleW(handle, name, 4096, FILE_NAME_NORMALIZED);
    return n > 0 && n < 4096 ? fs::path(std::wstring(name, n)).filename().string() : std::string();
#else
    char link[4096];
    const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), link, sizeof link - 1);
    return n > 0 ? fs::path(std::string(link, static_cast<std::size_t>(n))).filename().string() : std::string();
#endif
}

// Writes to the named file (or to a temporary file that will replace it) fail; others go through.
class FailingWrites {
public:
    FailingWrites(std::string name, int where, int error) {
        platform::setWriteHookForTests(
            [name = std::move(name), where, error](int fd, const char* data, std::size_t size) {
                const std::string file = nameOf(fd);
                if (file != name && !(file.starts_with(name + ".") && file.ends_with(".tmp")))
                    return platform::io::writeSome(fd, data, size);
                const std::size_t part = where == 0 ? 0 : where == 1 ? size / 2 : (size > 0 ? size - 1 : 0);
                if (part > 0 && platform::io::writeSome(fd, data, part) < 0)
                    return -1L;
                errno = error;
                return -1L;
            });
    }
    ~FailingWrites() { platform::setWriteHookForTests(nullptr); }
};

// Every file below a folder with its content, but for the Wine prefix the scenarios set up.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && !entry.path().string().starts_with((folder / "wine").string())) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[fs::relative(entry.path(), folder).generic_string()] =
                std::string(std::istreambuf_iterator<char>(in), {});
        }
    return files;
}

class WriteFaults : public test::MailboxTest {
protected:
    void SetUp() override {
        MailboxTest::SetUp();
        editor.Becky2InUse = editor.ProgramEnding = false;
        editor.s.Combo1.items.clear();
        view.quitCalled = view.closeAsked = view.closed = false;
        tmp.write("Kotori.ini", "Xsiz=8010\r\n");
        tmp.write("addr.adr", "a@docomo.ne.jp\r\n");
        tmp.write("Keitai.pre", "N2001#1010\r\n");
        tmp.write("Emoji.code", "\xF8\x9F\thare\r\n");
        tmp.write("OutPutLog.mbx", "old log\r\n.\r\n");
        tmp.write("Becky.mil", "old pointer\r\n");
        tmp.write("Becky2.mil", "old pointer 2\r\n");
        tmp.write("kotori.dat", "old hand-off\r\n");
        tmp.write("Becky!/User1/OutBox.mbx", "old outbox\r\n.\r\n");
        tmp.write("Becky!/User1/OutBox/Draft.mbx", "old draft\r\n.\r\n");
    }

    // Runs one write path under every fault. `run` sets the expected prompts and acts; it
    // returns true when the editor reported success. Files in `changing` may change (writes
    // that do not fail); every other file must end as it began.
    template <typename Run>
    void underEveryFault(const std::string& file, Run run, const std::set<std::string>& changing = {}) {
        for (int where = 0; where < 3; ++where)
            for (int error : Errors) {
                SetUp();
                const auto before = snapshot(tmp.path());
                bool success = false;
                {
                    FailingWrites failing(file, where, error);
                    success = run();
                }
                prompts.verify();
                const std::string fault = file + " " + Wheres[where] + " with errno " + std::to_string(error);
                EXPECT_FALSE(success) << fault;
                auto after = snapshot(tmp.path());
                for (const std::string& name : changing) {
                    if (before.count(name))
                        after[name] = before.at(name);
                    else
                        after.erase(name);
                }
                EXPECT_EQ(after, before) << fault;
            }
    }
};

const std::u16string Busy =
    u"BECKYが送受信処理中か、ことり便の設定内容のERRです。書き込みできません。再度送信ください。";
const std::u16string Retry2 = u"BECKYが送受信処理中です。送信できません。2度目の送信を試みますか？。";

} // namespace

TEST_F(WriteFaults, SettingsAndPointerFiles) {
    underEveryFault("Kotori.ini", [&] {
        prompts.message(App, tmp.core() + u"\\Kotori.ini\r\nこのファイルに設定を保存できませんでした。");
        editor.saveSettings();
        return false; // the message is the only outcome
    });
    underEveryFault("Becky.mil", [&] {
        test::TestRegistry reg(tmp.winePrefix());
        const std::u16string user = u"Software\\RIMArts\\Rebecca\\Users\\0";
        reg.setString(u"Software\\RIMArts\\Rebecca\\Settings", u"HomeDir", tmp.core() + u"\\Becky!\\");
        reg.setString(user, u"Account", u"main");
        reg.setString(user, u"Address", u"me@docomo.ne.jp");
        reg.setDword(user, u"MailDirNo", 1);
        prompts.message(App, u"Becky.milを書き込めませんでした。");
        editor.discoverBecky();
        return false;
    });
    underEveryFault("Becky2.mil", [&] {
        // Becky! 2's data inside the prefix folder, which the comparison leaves out.
        test::TestRegistry reg(tmp.winePrefix());
        reg.setString(u"Software\\RIMArts\\B2\\Settings", u"DataDir", tmp.core() + u"\\wine\\Becky2\\");
        tmp.write("wine/Becky2/Main.mb/!!!!Outbox/0001.bmf", "");
        prompts.question(u"Ver.2.0無理矢理対応", u"Becky Ver.2.0がインストールされています。暫定対応しますか？",
                         Buttons::YesNo, Answer::Yes);
        prompts.question(u"***@docomo.ne.jpがいいよ。", u"使用するi-mode用のメールアドレスは、[]でよろしいですか？",
                         Buttons::YesNo, Answer::Yes);
        prompts.message(App, u"Becky2.milを書き込めませんでした。");
        editor.discoverBecky();
        return editor.ProgramEnding || view.closeAsked;
    });
}

TEST_F(WriteFaults, AddressBookModelListAndEmojiTable) {
    underEveryFault("addr.adr", [&] {
        return core::writeAddressBook(editor, {{u"b@docomo.ne.jp", u"b", u"P501i"}},
                                      platform::readBytes(tmp.core() + u"\\addr.adr")) ||
               core::appendAddressEntry(tmp.core() + u"\\addr.adr", {u"c@docomo.ne.jp", u"c", u"P501i"}) ||
               core::appendBareAddress(tmp.core() + u"\\addr.adr", u"d@docomo.ne.jp");
    });
    // Registering the address after a send: the mail went, the book tells it could not take it.
    underEveryFault("addr.adr",
                    [&] {
                        expectConfirmed();
                        expectDiscard(Answer::No);
                        expectRegister(Answer::Yes);
                        prompts.message(App,
                                        tmp.core() + u"\\addr.adr\r\nこのファイルにアドレスを登録できませんでした。");
                        editor.s.Command6.enabled = false;
                        editor.send();
                        return editor.s.Combo1.items.size() != 0 || editor.s.Command6.enabled;
                    },
                    {"Becky!/User1/OutBox.mbx", "OutPutLog.mbx"});
    underEveryFault("Keitai.pre", [&] { return core::appendModel(tmp.core() + u"\\Keitai.pre", {u"SH2101V", 1012}); });
    // The emoji table, applied or saved on closing the registry window: the rows stay to save again.
    underEveryFault("Emoji.code", [&] {
        core::EditorEmojiBody body(editor);
        core::EmojiRegistry registry(prompts, body, tmp.core() + u"\\Emoji.code");
        registry.open();
        registry.f.List1.push_back(u"kumori\t\t\uE63F");
        registry.f.TableModified = true;
        const std::u16string failed = tmp.core() + u"\\Emoji.code\r\nに保存できませんでした。";
        prompts.message(App, failed);
        bool success = registry.apply();
        prompts.question(u"保存確認", u"変更があります。文字コードを保存して終了しますか？", Buttons::YesNo,
                         Answer::Yes);
        prompts.message(App, failed);
        success = registry.requestClose() || success;
        return success || !registry.f.TableModified || registry.f.List1.size() != 2;
    });
}

TEST_F(WriteFaults, MailboxLogHandOffAndDraft) {
    underEveryFault("OutBox.mbx", [&] {
        expectConfirmed();
        prompts.question(u"再送信確認", Retry2, Buttons::YesNo, Answer::No);
        prompts.message(App, Busy);
        editor.send();
        EXPECT_FALSE(editor.s.sendBusy); // the editor is free for the next try
        return tmp.exists("OutPutLog.mbx") && tmp.read("OutPutLog.mbx") != "old log\r\n.\r\n";
    });
    underEveryFault("OutPutLog.mbx",
                    [&] {
                        expectConfirmed();
                        expectDiscard(Answer::No);
                        prompts.message(App,
                                        tmp.core() + u"\\OutPutLog.mbx\r\nこのファイルにログを書き込めませんでした。");
                        expectRegister(Answer::No);
                        editor.send();
                        return false;
                    },
                    {"Becky!/User1/OutBox.mbx"});
    underEveryFault("kotori.dat", [&] {
        editor.Becky2InUse = true;
        editor.s.Combo2.items = {{u"plugin", 200}};
        prompts.message(App, Busy);
        editor.send();
        return view.quitCalled;
    });
    underEveryFault("Draft.mbx", [&] {
        prompts.question(u"再送信確認", Retry2, Buttons::YesNo, Answer::No);
        prompts.message(App, u"書き込みエラーです。草稿に保存することができませんでした。再度挑戦してみてください。");
        editor.saveDraft();
        return view.closeAsked;
    });
}
