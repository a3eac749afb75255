#include "platform/Files.h"

#include "platform/FilesIo.h"

#include "support/OtherEditor.h"
#include "support/System.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/inotify.h>
#endif

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using Lines = std::vector<std::u16string>;

namespace {

// Resets the write hook even when a check fails midway.
struct HookGuard {
    explicit HookGuard(platform::WriteHook hook) { platform::setWriteHookForTests(std::move(hook)); }
    ~HookGuard() { platform::setWriteHookForTests(nullptr); }
};

struct BeforeLockGuard {
    explicit BeforeLockGuard(platform::BeforeLockHook hook) { platform::setBeforeLockHookForTests(std::move(hook)); }
    ~BeforeLockGuard() { platform::setBeforeLockHookForTests(nullptr); }
};

std::size_t filesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// What an append killed after `written` bytes of its record leaves: its journal, that much of the
// record, and no lock.
void killedMidAppend(const std::u16string& file, const std::string& record, std::size_t written) {
    struct Killed {};
    int held = -1;
    {
        HookGuard guard([&](int fd, const char* data, std::size_t size) -> long {
            held = fd;
            platform::io::writeSome(fd, data, std::min(size, written));
            throw Killed{};
        });
        EXPECT_THROW(platform::appendRecord(file, record), Killed);
    }
    ASSERT_GE(held, 0);
    platform::io::closeFile(held);
}

// The files this process holds open, where the system says; -1 elsewhere.
long openFiles() {
    std::error_code ec;
    fs::directory_iterator fds("/proc/self/fd", ec);
    return ec ? -1 : static_cast<long>(std::distance(fds, fs::directory_iterator()));
}

void appendAsBecky(const fs::path& file, const std::string& mail) {
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out << mail;
}

} // namespace

TEST(Files, ReadLinesSplitsOnEveryLineEnd) {
    test::TempFolder tmp;
    auto linesOf = [&](const std::string& bytes) {
        tmp.write("t.txt", bytes);
        return platform::readLines(tmp.core() + u"\\t.txt");
    };
    EXPECT_EQ(linesOf("a\r\nb\nc\rd"), (Lines{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(linesOf("a\r\r\nb"), (Lines{u"a", u"", u"b"}));
    EXPECT_EQ(linesOf("\n\r"), (Lines{u"", u""})); // LF then a lone CR: two ends, not one

    EXPECT_EQ(linesOf("\x82\xa0\r\n\x89\xef\x8e\xd0 x\r\n"), (Lines{u"あ", u"会社 x"}));
    EXPECT_EQ(platform::joinLines({u"あ", u"", u"b"}), "\x82\xa0\r\n\r\nb\r\n");
    EXPECT_FALSE(platform::readLines(tmp.core() + u"\\missing.txt"));
}

TEST(Files, AppendAddsOnlyTheRecordBackToBack) {
    test::TempFolder tmp;
    const std::u16string box = tmp.core() + u"\\Sub\\OutBox.mbx";
    EXPECT_FALSE(platform::appendRecord(box, "rec\r\n")); // folder missing
    EXPECT_FALSE(tmp.exists("Sub/OutBox.mbx"));

    fs::create_directories(tmp.path() / "Sub");
    EXPECT_TRUE(platform::appendRecord(box, "one\r\n.\r\n"));
    // Every byte that goes through the writer belongs to the new record: the old content is
    // neither read back nor rewritten.
    std::size_t written = 0;
    HookGuard guard([&](int fd, const char* data, std::size_t size) {
        std::size_t part = size > 3 ? 3 : size; // short writes are carried on, not fatal
        written += part;
        return static_cast<long>(platform::io::writeSome(fd, data, part));
    });
    EXPECT_TRUE(platform::appendRecord(box, "two\r\n.\r\n"));
    EXPECT_EQ(written, 8u);
    EXPECT_EQ(tmp.read("Sub/OutBox.mbx"), "one\r\n.\r\ntwo\r\n.\r\n");

    EXPECT_FALSE(platform::appendRecord(tmp.core() + u"\\Sub", "x")); // a folder in place of the file
    if (!test::onWindows) {
        EXPECT_FALSE(platform::appendRecord(u"/dev/full", "x")); // a device, not a file
    }
}

TEST(Files, FailedAppendLeavesTheFileAsItWas) {
    test::TempFolder tmp;
    tmp.write("box.mbx", "old\r\n");
    const std::u16string box = tmp.core() + u"\\box.mbx";
    int calls = 0;
    {
        // Half the record reaches the file, then the disk fails.
        HookGuard guard([&](int fd, const char* data, std::size_t size) -> long {
            if (++calls == 1)
                return static_cast<long>(platform::io::writeSome(fd, data, size / 2));
            return -1;
        });
        EXPECT_FALSE(platform::appendRecord(box, "new record\r\n.\r\n"));
        EXPECT_EQ(tmp.read("box.mbx"), "old\r\n");
        // A failure while creating the file leaves no file behind, and nothing held open.
        calls = 0;
        const long openBefore = openFiles();
        EXPECT_FALSE(platform::appendRecord(tmp.core() + u"\\fresh.mbx", "abc"));
        EXPECT_FALSE(tmp.exists("fresh.mbx"));
        // No more than before: under Wine the process's descriptors include Wine's own, which
        // it may close meanwhile.
        EXPECT_LE(openFiles(), openBefore);
    }
    {
        HookGuard guard([](int, const char*, std::size_t) -> long { return 0; }); // no progress: no endless loop
        EXPECT_FALSE(platform::appendRecord(box, "x"));
        EXPECT_EQ(tmp.read("box.mbx"), "old\r\n");
    }
    // The retry after the failure adds exactly one record.
    EXPECT_TRUE(platform::appendRecord(box, "new record\r\n.\r\n"));
    EXPECT_EQ(tmp.read("box.mbx"), "old\r\nnew record\r\n.\r\n");
}

#ifdef __linux__
// Unflushed bytes are lost in a crash: a regular file whose file system cannot flush it fails
// the write. A pipe or a device has nothing to flush.
TEST(Files, AFileThatCannotBeFlushedIsAFailedWrite) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    EXPECT_TRUE(platform::io::syncFile(ends[1]));
    ::close(ends[0]);
    ::close(ends[1]);
    const int device = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    EXPECT_TRUE(platform::io::syncFile(device));
    ::close(device);
    const int proc = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC); // answers EINVAL
    if (proc < 0)
        GTEST_SKIP() << "no /proc";
    EXPECT_FALSE(platform::io::syncFile(proc));
    ::close(proc);
}
#endif

TEST(Files, ReplaceSwapsWholeFilesOrNothing) {
    test::TempFolder tmp;
    tmp.write("Kotori.ini", "a much longer old content\r\n");
    fs::permissions(tmp.path() / "Kotori.ini", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::u16string ini = tmp.core() + u"\\kotori.INI";

    EXPECT_TRUE(platform::replaceFile(ini, "new\r\n"));
    EXPECT_EQ(tmp.read("Kotori.ini"), "new\r\n");
    if (!test::onWindows) { // Windows has no such modes to keep
        EXPECT_EQ(fs::status(tmp.path() / "Kotori.ini").permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    }
    EXPECT_EQ(filesIn(tmp.path()), 2u); // the file and the "wine" folder: no temporary left
    // Failing writes are the write-fault tests' concern.

    EXPECT_FALSE(platform::replaceFile(tmp.core() + u"\\nofolder\\x.dat", "x"));
    fs::create_directories(tmp.path() / "Dir");
    EXPECT_FALSE(platform::replaceFile(tmp.core() + u"\\Dir", "x"));
    EXPECT_TRUE(fs::is_directory(tmp.path() / "Dir"));
}

TEST(Files, AppendFinishesAnUnendedLastLineInTheSameWrite) {
    test::TempFolder tmp;
    const std::u16string file = tmp.core() + u"\\f.txt";
    auto appended = [&](const std::string& before) {
        tmp.write("f.txt", before);
        EXPECT_TRUE(platform::appendRecord(file, "new\r\n"));
        return tmp.read("f.txt");
    };
    EXPECT_EQ(appended("old"), "old\r\nnew\r\n");
    EXPECT_EQ(appended("old\r"), "old\r\nnew\r\n");
    EXPECT_EQ(appended("old\n"), "old\nnew\r\n");

    // The added line end belongs to the record: a failed write takes both back.
    tmp.write("f.txt", "old");
    HookGuard guard([](int fd, const char* data, std::size_t size) -> long {
        platform::io::writeSome(fd, data, size > 3 ? 3 : size);
        return -1;
    });
    EXPECT_FALSE(platform::appendRecord(file, "new\r\n"));
    EXPECT_EQ(tmp.read("f.txt"), "old");
}

TEST(Files, KilledAppendIsCutBackByTheNextAppendOrTheStartUp) {
    test::TempFolder tmp;
    const std::u16string box = tmp.core() + u"\\box.mbx";
    // What a process killed in the middle of a 10-byte record leaves: its journal and 4 bytes.
    auto killedAppend = [&](const std::string& content = "old\r\npart", const std::string& journal = "5 15\n") {
        tmp.write("box.mbx", content);
        tmp.write("box.mbx.jnl", journal);
    };
    killedAppend();
    EXPECT_TRUE(platform::appendRecord(box, "new\r\n"));
    EXPECT_EQ(tmp.read("box.mbx"), "old\r\nnew\r\n");
    EXPECT_FALSE(tmp.exists("box.mbx.jnl"));
    killedAppend();
    EXPECT_TRUE(platform::recoverAppend(box));
    EXPECT_EQ(tmp.read("box.mbx"), "old\r\n");
    EXPECT_FALSE(tmp.exists("box.mbx.jnl"));
    EXPECT_TRUE(platform::recoverAppend(box)); // nothing to do
#ifndef _WIN32
    // Started without standard input, the program gets descriptor 0 for the first file it opens.
    killedAppend();
    const int input = dup(0);
    close(0);
    const bool recovered = platform::recoverAppend(box);
    dup2(input, 0);
    close(input);
    EXPECT_TRUE(recovered);
    EXPECT_EQ(tmp.read("box.mbx"), "old\r\n");
#endif

    // The journal may also keep the bytes on each side of the append point ("old\r\n", then
    // "0123456789"). Content, journal, and what recovery leaves (empty: the content untouched).
    const std::string fingerprinted = "5 15 6f6c640d0a 30313233343536373839\n";
    std::vector<std::array<std::string, 3>> cases = {
        // A size outside the journal's range: the append finished, or Becky! rewrote the file since.
        {"old\r\n0123456789", "5 15\n", ""},
        {"old", "5 15\n", ""},
        // A size in range showing other bytes around the append point: rewritten too.
        {"OLD\r\n0123", fingerprinted, ""},
        {"old\r\n0x23", fingerprinted, ""},
        {"old\r\n0123", fingerprinted, "old\r\n"},
        // An older editor kept only the record's first 32 bytes: past them, what follows the
        // append point may be Becky!'s as well as ours, and stays.
        {"old\r\nabcdefghijabcdefghijabcdefghijabcdefghij",
         "5 55 6f6c640d0a 6162636465666768696a6162636465666768696a6162636465666768696a6162\n", ""}};
    // A journal cut short while being written: no byte of the record had gone out yet.
    for (const char* journal : {"", "5", "5 1", "5 15", "15 5\n", "5 15\nx", "99999999999999999999 1\n",
                                "5 15 6f6c640d0a\n", "5 15 6f6c640d0 -\n", "5 15 - 3x\n", "5 15 6f6c640d0a 30"})
        cases.push_back({"old\r\npart", journal, ""});
    for (const auto& [content, journal, after] : cases) {
        killedAppend(content, journal);
        EXPECT_TRUE(platform::recoverAppend(box)) << journal;
        EXPECT_EQ(tmp.read("box.mbx"), after.empty() ? content : after) << content << " / " << journal;
        EXPECT_FALSE(tmp.exists("box.mbx.jnl")) << journal;
    }
}

TEST(Files, KilledAppendFollowedByBeckysMailIsLeftAlone) {
    test::TempFolder tmp;
    const std::u16string box = tmp.core() + u"\\box.mbx";
    std::string record = "From: me@example.jp\r\nSubject: a record the kill cut in the middle\r\n\r\n";
    while (record.size() < 2000)
        record += "a line of the body, longer than all that follows the cut\r\n";
    record += ".\r\n";
    const std::string mail = "From: becky@example.jp\r\nSubject: whole\r\n\r\nBecky!'s own mail\r\n.\r\n";
    // Alone, the cut record goes at the next start.
    tmp.write("box.mbx", "old\r\n");
    killedMidAppend(box, record, 50);
    ASSERT_EQ(tmp.read("box.mbx"), "old\r\n" + record.substr(0, 50));
    EXPECT_TRUE(platform::recoverAppend(box));
    EXPECT_EQ(tmp.read("box.mbx"), "old\r\n");

    // Becky! takes no lock and appends a whole mail after it: what follows the append point is no
    // longer all ours, and none of it is cut.
    killedMidAppend(box, record, 50);
    appendAsBecky(tmp.path() / "box.mbx", mail);
    const std::string kept = "old\r\n" + record.substr(0, 50) + mail;
    EXPECT_TRUE(platform::recoverAppend(box));
    EXPECT_EQ(tmp.read("box.mbx"), kept);
    EXPECT_FALSE(tmp.exists("box.mbx.jnl"));

    tmp.write("box.mbx", "old\r\n");
    killedMidAppend(box, record, 50);
    appendAsBecky(tmp.path() / "box.mbx", mail);
    EXPECT_TRUE(platform::appendRecord(box, "next\r\n"));
    EXPECT_EQ(tmp.read("box.mbx"), kept + "next\r\n");
    EXPECT_FALSE(tmp.exists("box.mbx.jnl"));
}

TEST(Files, AJournalThatIsNoFileIsLeftAloneWithoutWaiting) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows folders hold no FIFOs";
#else
    test::TempFolder tmp;
    tmp.write("box.mbx", "old\r\npart");
    const std::u16string box = tmp.core() + u"\\box.mbx";
    const fs::path fifo = tmp.path() / "box.mbx.jnl";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    {
        // Something at the other end with more than a journal's line waiting: reading it would
        // not even wait.
        const int other = ::open(fifo.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(other, 0);
        const std::string waiting = "5 15\n" + std::string(1000, ' ');
        ASSERT_EQ(::write(other, waiting.data(), waiting.size()), static_cast<ssize_t>(waiting.size()));
        const bool recovered = platform::recoverAppend(box);
        ::close(other);
        ASSERT_TRUE(recovered);
        ASSERT_EQ(tmp.read("box.mbx"), "old\r\npart");
        ASSERT_TRUE(fs::is_fifo(fifo));
    }
    // Nobody at the other end: opening it to read or to write would wait forever.
    EXPECT_TRUE(platform::recoverAppend(box));
    EXPECT_FALSE(platform::appendRecord(box, "new\r\n")); // no journal to be had, so no append
    EXPECT_EQ(tmp.read("box.mbx"), "old\r\npart");
    EXPECT_TRUE(fs::is_fifo(fifo));
#endif
}

TEST(Files, AppendsTakeTurnsAcrossProcesses) {
    test::TempFolder tmp;
    const std::u16string box = tmp.core() + u"\\box.mbx";
    // Another editor in the middle of an append: its lock on the file, its journal live.
    tmp.write("box.mbx", "old\r\npart");
    tmp.write("box.mbx.jnl", "5 15\n");
    bool created = false;
    const int other = platform::io::openData(tmp.path() / "box.mbx", false, created);
    ASSERT_TRUE(platform::io::tryLock(other));
    EXPECT_TRUE(platform::recoverAppend(box));
    EXPECT_FALSE(platform::appendRecord(box, "new\r\n")); // after waiting its turn a while
    EXPECT_EQ(tmp.read("box.mbx"), "old\r\npart");
    EXPECT_TRUE(tmp.exists("box.mbx.jnl"));
    // That editor is killed: its lock goes, and its journal is one of a killed append.
    platform::io::closeFile(other);
    EXPECT_TRUE(platform::appendRecord(box, "new\r\n"));
    EXPECT_EQ(tmp.read("box.mbx"), "old\r\nnew\r\n");
}

TEST(Files, FailedAppendKeepsWhatAnotherEditorAddedBeforeItsTurn) {
    test::TempFolder tmp;
    const std::u16string box = tmp.core() + u"\\fresh.mbx";
    // This editor makes the file; before it has the lock, another editor appends to it.
    bool otherRan = false, otherAppended = false;
    BeforeLockGuard other([&] {
        if (std::exchange(otherRan, true))
            return;
        test::OtherEditor editor([&] { return platform::appendRecord(box, "other\r\n.\r\n"); });
        otherAppended = editor.finished();
    });
    HookGuard failing([](int fd, const char* data, std::size_t size) -> long {
        if (test::OtherEditor::inside())
            return static_cast<long>(platform::io::writeSome(fd, data, size));
        platform::io::writeSome(fd, data, size / 2);
        return -1;
    });
    EXPECT_FALSE(platform::appendRecord(box, "mine\r\n.\r\n"));
    EXPECT_TRUE(otherAppended);
    EXPECT_EQ(tmp.read("fresh.mbx"), "other\r\n.\r\n");
    EXPECT_FALSE(tmp.exists("fresh.mbx.jnl"));
}

TEST(Files, AppendRemovesItsJournalBeforeLettingOthersIn) {
#ifndef __linux__
    GTEST_SKIP() << "the order of a close and a removal shows only through inotify";
#else
    test::TempFolder tmp;
    tmp.write("box.mbx", "old\r\n");
    const std::u16string box = tmp.core() + u"\\box.mbx";
    const int events = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(events, 0);
    ASSERT_GE(::inotify_add_watch(events, tmp.path().c_str(), IN_CLOSE_WRITE | IN_DELETE), 0);
    // The lock goes with the last close of the mailbox; its journal must be gone by then, or a
    // second editor could write its own journal in between and see it removed.
    auto journalGoneFirst = [&] {
        std::vector<std::string> seen;
        alignas(inotify_event) char buffer[4096];
        for (long n; (n = ::read(events, buffer, sizeof buffer)) > 0;)
            for (long at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                seen.push_back(std::string(event->mask & IN_DELETE ? "delete " : "close ") + event->name);
                at += static_cast<long>(sizeof(inotify_event) + event->len);
            }
        const auto removed = std::find(seen.begin(), seen.end(), "delete box.mbx.jnl");
        const auto closed = std::find(seen.rbegin(), seen.rend(), "close box.mbx");
        std::string order;
        for (const std::string& event : seen)
            order += event + "; ";
        return removed != seen.end() && closed != seen.rend() && removed < closed.base() - 1
                   ? ::testing::AssertionSuccess()
                   : ::testing::AssertionFailure() << order;
    };
    EXPECT_TRUE(platform::appendRecord(box, "one\r\n"));
    EXPECT_TRUE(journalGoneFirst());
    {
        HookGuard failing([](int fd, const char* data, std::size_t size) -> long {
            platform::io::writeSome(fd, data, size / 2);
            return -1;
        });
        EXPECT_FALSE(platform::appendRecord(box, "two\r\n"));
    }
    EXPECT_TRUE(journalGoneFirst());
    EXPECT_EQ(tmp.read("box.mbx"), "old\r\none\r\n");
    ::close(events);
#endif
}

TEST(Files, ReadOnlyFilesAreNeitherReplacedNorExtended) {
    test::TempFolder tmp;
    tmp.write("Kotori.ini", "old\r\n");
    tmp.write("box.mbx", "old\r\n");
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(tmp.path() / "Kotori.ini", readOnly);
    fs::permissions(tmp.path() / "box.mbx", readOnly);
    EXPECT_FALSE(platform::replaceFile(tmp.core() + u"\\Kotori.ini", "new\r\n"));
    EXPECT_FALSE(platform::appendRecord(tmp.core() + u"\\box.mbx", "new\r\n"));
    EXPECT_EQ(tmp.read("Kotori.ini"), "old\r\n");
    EXPECT_EQ(tmp.read("box.mbx"), "old\r\n");
    EXPECT_EQ(filesIn(tmp.path()), 3u);

    fs::permissions(tmp.path() / "Kotori.ini", fs::perms::owner_write, fs::perm_options::add); // saved as usual
    EXPECT_TRUE(platform::replaceFile(tmp.core() + u"\\Kotori.ini", "new\r\n"));
    EXPECT_EQ(tmp.read("Kotori.ini"), "new\r\n");
}

TEST(Files, SaveRemovesTheTemporaryFilesOfKilledSaves) {
    test::TempFolder tmp;
    tmp.write("addr.adr", "old\r\n");
    tmp.write("addr.adr.0badf00d.tmp", "half of a sa");
    tmp.write("addr.adr.12345678.tmp", std::string(1 << 16, 'x'));
    // Not leftovers of this file's saves: other files, other names, the user's own.
    const std::vector<std::string> kept = {"Kotori.ini.0badf00d.tmp", "addr.adr.0badf00.tmp", "xaddr.adr.0badf00d.tmp"};
    for (const std::string& name : kept)
        tmp.write(name, "keep");
    EXPECT_TRUE(platform::replaceFile(tmp.core() + u"\\addr.adr", "new\r\n"));
    EXPECT_EQ(tmp.read("addr.adr"), "new\r\n");
    EXPECT_FALSE(tmp.exists("addr.adr.0badf00d.tmp"));
    EXPECT_FALSE(tmp.exists("addr.adr.12345678.tmp"));
    for (const std::string& name : kept)
        EXPECT_EQ(tmp.read(name), "keep") << name;
}

TEST(Files, SaveKeepsTheTemporaryFileOfAnotherEditorsSave) {
    test::TempFolder tmp;
    tmp.write("addr.adr", "old\r\n");
    const std::u16string file = tmp.core() + u"\\addr.adr";
    // While this save writes its temporary file, another editor saves the same file.
    bool otherRan = false, otherSaved = false;
    HookGuard guard([&](int fd, const char* data, std::size_t size) {
        if (!std::exchange(otherRan, true)) {
            test::OtherEditor other([&] { return platform::replaceFile(file, "other\r\n"); });
            otherSaved = other.finished();
        }
        return static_cast<long>(platform::io::writeSome(fd, data, size));
    });
    EXPECT_TRUE(platform::replaceFile(file, "mine\r\n"));
    EXPECT_TRUE(otherSaved);
    EXPECT_EQ(tmp.read("addr.adr"), "mine\r\n");
    EXPECT_EQ(filesIn(tmp.path()), 2u); // the file and the "wine" folder
}
