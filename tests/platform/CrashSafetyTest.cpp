// A child process saves and appends in a loop and is killed at random moments; after every kill
// each file must hold exactly its old or its new content, and the mailbox only whole records.
// Two children appending to one mailbox and a third rewriting it are killed too: every record
// any of them was told went in must be there once and whole.
#ifndef _WIN32 // a child killed at random needs fork and signals
#include "platform/Files.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct SavedFile {
    std::string name;
    std::string versions[2];
};

std::string linesOf(const std::string& line, std::size_t bytes) {
    std::string text;
    for (std::size_t i = 0; text.size() < bytes; ++i)
        text += line + std::to_string(i) + "\r\n";
    return text;
}

std::vector<SavedFile> savedFiles() {
    // Sizes differ a lot, so kills land inside the writes of both versions.
    return {{"Kotori.ini", {linesOf("Sei0=True ", 600), linesOf("Xsiz=9000 ", 4000)}},
            {"addr.adr",
             {linesOf("a@docomo.ne.jp\t\x91\xbe\x98\x59\tP501i ", 200000), linesOf("b@docomo.ne.jp\tb\t", 3000)}},
            {"Emoji.code", {linesOf("\xF8\x9F\thare", 20000), linesOf("\xF8\xA0\tkumori", 900000)}}};
}

// A kill loses nothing of what the system holds in memory, so a memory-backed folder gives the
// same outcomes as a disk and spares it gigabytes of flushes.
fs::path fastFolder() {
    std::error_code ec;
    return fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
}

// "REC n" CR LF, n payload bytes, CR LF "." CR LF.
std::string record(std::size_t size, char fill) {
    std::string r = "REC " + std::to_string(size) + "\r\n";
    r.append(size, fill);
    return r + "\r\n.\r\n";
}

// How many whole records the mailbox holds, or -1 when anything else is in it.
long wholeRecords(const std::string& box) {
    long count = 0;
    std::size_t at = 0;
    while (at < box.size()) {
        if (box.compare(at, 4, "REC ") != 0)
            return -1;
        const std::size_t eol = box.find("\r\n", at);
        if (eol == std::string::npos)
            return -1;
        const std::size_t size = std::stoul(box.substr(at + 4, eol - at - 4));
        const std::size_t end = eol + 2 + size;
        if (end + 5 > box.size() || box.compare(end, 5, "\r\n.\r\n") != 0 ||
            box.find_first_not_of(box[eol + 2], eol + 2) < end)
            return -1;
        at = end + 5;
        ++count;
    }
    return count;
}

std::string tailOf(const fs::path& file, std::size_t from) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    const auto end = static_cast<std::size_t>(in.tellg());
    std::string tail(end > from ? end - from : 0, '\0');
    in.seekg(static_cast<std::streamoff>(from));
    in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    return tail;
}

bool leftTemporary(const fs::path& folder, const std::string& name) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string file = entry.path().filename().string();
        if (file.size() > name.size() && file.compare(0, name.size() + 1, name + ".") == 0 &&
            entry.path().extension() == ".tmp")
            return true;
    }
    return false;
}

[[noreturn]] void saveForever(const std::u16string& folder, const std::vector<SavedFile>& files, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> logSize(std::log(100.0), std::log(8.0 * 1024 * 1024));
    for (unsigned round = 0;; ++round) {
        for (const SavedFile& f : files)
            if (!platform::replaceFile(folder + u"\\" + std::u16string(f.name.begin(), f.name.end()),
                                       f.versions[(round + seed) % 2]))
                ::_exit(2);
        const auto size = static_cast<std::size_t>(std::exp(logSize(random)));
        if (!platform::appendRecord(folder + u"\\box.mbx", record(size, static_cast<char>('a' + round % 26))))
            ::_exit(3);
    }
}

// "ID editor.n size" CR LF, size bytes, CR LF "." CR LF.
std::string taggedRecord(const std::string& id, std::size_t size) {
    std::string r = "ID " + id + " " + std::to_string(size) + "\r\n";
    r.append(size, static_cast<char>('a' + r.size() % 26));
    return r + "\r\n.\r\n";
}

// The ids of the tagged records in the mailbox, in order; nullopt when anything but whole
// records is in it.
std::optional<std::vector<std::string>> taggedIds(const std::string& box) {
    std::vector<std::string> ids;
    for (std::size_t at = 0; at < box.size();) {
        const std::size_t eol = box.find("\r\n", at);
        if (box.compare(at, 3, "ID ") != 0 || eol == std::string::npos)
            return std::nullopt;
        std::istringstream head(box.substr(at + 3, eol - at - 3));
        std::string id;
        std::size_t size = 0;
        if (!(head >> id >> size) || size > box.size())
            return std::nullopt;
        const std::string record = taggedRecord(id, size);
        if (box.compare(at, record.size(), record) != 0)
            return std::nullopt;
        ids.push_back(id);
        at += record.size();
    }
    return ids;
}

// Adds records until killed, writing the id of each that the call reported done to `acks`. Editor
// 2 rewrites the whole mailbox with its record added, as the address book's save does; the others
// append.
[[noreturn]] void addForever(const std::u16string& box, int editor, unsigned seed, int acks) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> logSize(std::log(50.0), std::log(256.0 * 1024));
    for (unsigned n = 0;; ++n) {
        const std::string id = std::to_string(editor) + "." + std::to_string(seed) + "." + std::to_string(n);
        const std::string record = taggedRecord(id, static_cast<std::size_t>(std::exp(logSize(random))));
        const bool added = editor == 2 ? platform::updateFile(box,
                                                              [&](const std::optional<std::string>& current) {
                                                                  return current.value_or("") + record;
                                                              })
                                       : platform::appendRecord(box, record);
        if (!added)
            ::_exit(3);
        const std::string ack = id + "\n"; // one write, shorter than PIPE_BUF: never torn
        if (::write(acks, ack.data(), ack.size()) != static_cast<ssize_t>(ack.size()))
            ::_exit(4);
    }
}

} // namespace

TEST(CrashSafety, FilesHoldTheirOldOrNewContentAfterEveryKill) {
    test::TempFolder tmp(fastFolder());
    const std::vector<SavedFile> files = savedFiles();
    for (const SavedFile& f : files)
        tmp.write(f.name, f.versions[0]);
    const std::u16string box = tmp.core() + u"\\box.mbx";
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delayUs(0, 30000);

    constexpr int Kills = 520;
    std::size_t checkedBytes = 0; // the mailbox up to here holds whole records, already checked
    for (int kill = 0; kill < Kills; ++kill) {
        const unsigned seed = static_cast<unsigned>(random());
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            saveForever(tmp.core(), files, seed);
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself: " << WEXITSTATUS(status);

        for (const SavedFile& f : files) {
            const std::string now = tmp.read(f.name);
            EXPECT_TRUE(now == f.versions[0] || now == f.versions[1]) << f.name << " after kill " << kill;
            // The next save clears what the killed one left beside the file.
            if (leftTemporary(tmp.path(), f.name)) {
                ASSERT_TRUE(
                    platform::replaceFile(tmp.core() + u"\\" + std::u16string(f.name.begin(), f.name.end()), now));
            }
        }
        const fs::path boxFile = tmp.path() / "box.mbx";
        // The next append first takes back a record cut short, then adds its own.
        ASSERT_TRUE(platform::appendRecord(box, record(10, '#')));
        const std::string added = tailOf(boxFile, checkedBytes);
        ASSERT_TRUE(added.size() >= record(10, '#').size() && wholeRecords(added) > 0 &&
                    added.substr(added.size() - record(10, '#').size()) == record(10, '#'))
            << "after kill " << kill << " the mailbox holds a broken record";
        checkedBytes += added.size();
        if (checkedBytes > (48u << 20)) { // keep the work bounded
            fs::remove(boxFile);
            checkedBytes = 0;
        }
        const auto entries = std::distance(fs::directory_iterator(tmp.path()), fs::directory_iterator());
        ASSERT_EQ(static_cast<std::size_t>(entries), files.size() + 2 - (checkedBytes == 0))
            << "left behind after kill " << kill;
    }
}
TEST(CrashSafety, AppendersAndARewriteKilledAtRandomKeepEveryAcknowledgedRecord) {
    test::TempFolder tmp(fastFolder());
    const std::u16string box = tmp.core() + u"\\box.mbx";
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> delayUs(0, 30000);
    constexpr int Rounds = 30, Editors = 3;
    for (int round = 0; round < Rounds; ++round) {
        int acks[2];
        ASSERT_EQ(::pipe(acks), 0);
        pid_t children[Editors];
        for (int editor = 0; editor < Editors; ++editor) {
            const unsigned seed = static_cast<unsigned>(random());
            children[editor] = ::fork();
            ASSERT_GE(children[editor], 0);
            if (children[editor] == 0) {
                ::close(acks[0]);
                addForever(box, editor, seed, acks[1]);
            }
        }
        ::close(acks[1]);
        // One dies first, the others moments later, each at any point of its work.
        std::vector<int> order = {0, 1, 2};
        std::shuffle(order.begin(), order.end(), random);
        for (int editor : order) {
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random) / (editor == order[0] ? 1 : 4)));
            ::kill(children[editor], SIGKILL);
        }
        for (pid_t child : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFSIGNALED(status)) << "an editor stopped by itself: " << WEXITSTATUS(status);
        }
        std::string acknowledged;
        char chunk[4096];
        for (ssize_t n; (n = ::read(acks[0], chunk, sizeof chunk)) > 0;)
            acknowledged.append(chunk, static_cast<std::size_t>(n));
        ::close(acks[0]);

        ASSERT_TRUE(platform::recoverAppend(box));
        const auto ids = taggedIds(tmp.read("box.mbx"));
        ASSERT_TRUE(ids) << "round " << round << " left a broken record";
        std::map<std::string, int> count;
        for (const std::string& id : *ids)
            EXPECT_EQ(++count[id], 1) << id << " twice, round " << round;
        std::istringstream told(acknowledged);
        for (std::string id; std::getline(told, id);)
            EXPECT_EQ(count[id], 1) << id << " was acknowledged, round " << round;
        EXPECT_FALSE(tmp.exists("box.mbx.jnl"));
        for (const auto& entry : fs::directory_iterator(tmp.path()))
            if (entry.path().filename() != "wine")
                fs::remove(entry.path()); // the mailbox, and the killed rewrite's temporary file
    }
}
#endif
