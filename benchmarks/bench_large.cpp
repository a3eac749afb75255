// Commands on large files: a 100 MB log listed, a 10 MB Emoji.code, a 5 MB addr.adr, a 1 MB
// body pasted at once. Each is measured against two runs on inputs of half the size, so a
// ratio near 1 means linear time and one near 2 a quadratic step.
#include "BenchSupport.h"
#include "CommandTime.h"
#include "Ratio.h"

#include "core/addressbook/AddressBook.h"
#include "core/app/Editor.h"
#include "core/app/MainView.h"
#include "core/mailbox/MailboxReader.h"
#include "core/text/EmojiTable.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace fs = std::filesystem;

namespace {

struct YesPrompts : bench::FixedAnswer {
    YesPrompts() : FixedAnswer(core::Answer::Yes) {}
};

struct FixedClock : bench::StillClock {
    FixedClock() : StillClock(core::DateTime{2026, 12, 7, 1, 2, 3}) {}
};

const fs::path& workFolder() {
    static const fs::path folder = bench::scratchFolder("large");
    return folder;
}

// A file of `bytes` bytes made of whole copies of `unit` (the last one cut to fit), written once.
std::u16string fileOf(const std::string& name, const std::string& unit, std::size_t bytes) {
    const fs::path path = workFolder() / name;
    if (!fs::exists(path)) {
        std::string block;
        while (block.size() < (1u << 20))
            block += unit;
        std::ofstream out(path, std::ios::binary);
        for (std::size_t written = 0; written < bytes; written += block.size())
            out.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), bytes - written)));
    }
    return platform::fromUtf8(path.string());
}

std::string logRecord() {
    std::string r = platform::encodeCp932(
        u"From:me@docomo.ne.jp\r\nTo:friend@docomo.ne.jp\r\nSubject:ことり便のログ\r\nX-Date:2026/12/07 1:02:03\r\n"
        u"X-imodeMailEditer:Kotoribin Plus Ver.0.5.3\r\n\r\n");
    while (r.size() < 900)
        r += platform::encodeCp932(u"短いメールの本文です。text line\r\n");
    return r + ".\r\n";
}

std::string emojiLine() {
    return "\xF8\x9F\thare\r\n\xF8\xA0\tkumori\r\n\xF8\xA1\tame\r\n";
}

std::string addressLine() {
    return "taro.yamada@docomo.ne.jp\t" + platform::encodeCp932(u"山田太郎") + "\tP501i\tnick\t\t\r\n";
}

// Runs `command` once on the file of full size, or, for the baseline, on two files of half.
void measure(benchmark::State& state, const std::string& name, const std::string& unit, std::size_t fullBytes,
             const std::function<void(const std::u16string&)>& command) {
    const bool half = state.range(0) == 1;
    const std::u16string a = fileOf(name + (half ? ".half" : ""), unit, half ? fullBytes / 2 : fullBytes);
    for (auto _ : state) {
        command(a);
        if (half)
            command(a);
    }
}

void BM_LogList(benchmark::State& state) {
    measure(state, "OutPutLog.mbx", logRecord(), 100u << 20, [](const std::u16string& path) {
        auto rows = core::mailbox::readMailboxRows(path, false);
        benchmark::DoNotOptimize(rows);
    });
}

void BM_EmojiTable(benchmark::State& state) {
    measure(state, "Emoji.code", emojiLine(), 10u << 20, [](const std::u16string& path) {
        auto table = core::readEmojiTable(path);
        benchmark::DoNotOptimize(table);
    });
}

void BM_AddressBook(benchmark::State& state) {
    measure(state, "addr.adr", addressLine(), 5u << 20, [](const std::u16string& path) {
        auto entries = core::readAddressBook(path, true);
        benchmark::DoNotOptimize(entries);
    });
}

// The destination list filled from the book, as at start-up.
void BM_AddressList(benchmark::State& state) {
    const bool half = state.range(0) == 1;
    const fs::path folder = workFolder() / (half ? "list-half" : "list-full");
    fs::create_directories(folder);
    const std::u16string source =
        fileOf(half ? "addr.adr.half" : "addr.adr", addressLine(), half ? 5u << 19 : 5u << 20);
    fs::copy_file(platform::nativePath(source), folder / "addr.adr", fs::copy_options::overwrite_existing);
    YesPrompts prompts;
    FixedClock clock;
    core::NullView view;
    core::Editor editor(prompts, clock, platform::fromUtf8(folder.string()));
    editor.setView(&view);
    for (auto _ : state) {
        editor.loadToAddressList();
        if (half)
            editor.loadToAddressList();
        benchmark::DoNotOptimize(editor.s.Combo1.items.data());
    }
}

// A body pasted at once into an empty editor, in i-mode (where the limit then cuts it) or not.
void BM_PasteBody(benchmark::State& state) {
    const bool half = state.range(0) == 1, imode = state.range(1) == 1;
    std::u16string body;
    const std::u16string line = u"ことり便で短いメールを送ります。Becky! 1.26 へ渡すtest line\r\n";
    while (platform::sjisLength(body) < (half ? 1u << 19 : 1u << 20))
        body += line;
    YesPrompts prompts;
    FixedClock clock;
    core::NullView view;
    bench::CommandTime time(state);
    for (auto _ : state) {
        for (int run = 0; run < (half ? 2 : 1); ++run) {
            core::Editor editor(prompts, clock, platform::fromUtf8(workFolder().string()));
            editor.setView(&view);
            editor.setImode(imode);
            time([&] { editor.bodyEdited(0, 0, body); });
            benchmark::DoNotOptimize(editor.s.Text1.text.data());
        }
    }
}

} // namespace

BENCHMARK(BM_LogList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmojiTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddressBook)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddressList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteBody)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    int rc = bench::runWithRatios(argc, argv,
                                  {{"large_log_100MB_vs_2x50MB", "BM_LogList/0", "BM_LogList/1"},
                                   {"large_emoji_10MB_vs_2x5MB", "BM_EmojiTable/0", "BM_EmojiTable/1"},
                                   {"large_addr_5MB_vs_2x2.5MB", "BM_AddressBook/0", "BM_AddressBook/1"},
                                   {"large_addrlist_5MB_vs_2x2.5MB", "BM_AddressList/0", "BM_AddressList/1"},
                                   {"large_paste_1MB_vs_2x512KB", "BM_PasteBody/0/0", "BM_PasteBody/1/0"},
                                   {"large_paste_imode_1MB_vs_2x512KB", "BM_PasteBody/0/1", "BM_PasteBody/1/1"}});
    std::error_code ec;
    fs::remove_all(workFolder(), ec);
    return rc;
}
