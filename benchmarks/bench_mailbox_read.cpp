// Listing a 20 MB output log of 40,000 mails against reading and decoding its bytes alone.
#include "BenchSupport.h"
#include "BenchWindow.h"

#include "core/app/Editor.h"
#include "core/mailbox/MessageRecord.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "ui/MainWindow.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int Mails = 40000;
constexpr std::size_t LogBytes = 20'000'000;

using SilentPrompts = bench::FixedAnswer;

struct FixedClock : bench::StillClock {
    FixedClock() : StillClock(core::DateTime{2026, 12, 6, 9, 5, 3}) {}
};

const fs::path& workFolder() {
    static const fs::path folder = bench::scratchFolder("log");
    return folder;
}

// Log records of mixed Japanese mails, blank lines and emoji included, 500 bytes each on average.
void writeLog() {
    static const std::u16string_view pieces[] = {u"こんにちは。", u"明日の待ち合わせは駅前で",
                                                 u"\r\n",         u"\r\n\r\n",
                                                 u"了解です！",   u"\uE63E",
                                                 u"ｶﾀｶﾅ",         u"Becky! 1.26",
                                                 u"東京都",       u"19:00",
                                                 u"よろしくね。", u"\uE6EC"};
    std::string bytes;
    bytes.reserve(LogBytes + 1000);
    std::uint32_t seed = 14;
    for (int i = 0; i < Mails; ++i) {
        core::mailbox::MessageFields mail{u"me@docomo.ne.jp",
                                          u"friend" + platform::fromUtf8(std::to_string(i % 97)) + u"@docomo.ne.jp",
                                          {},
                                          u"件名その" + platform::fromUtf8(std::to_string(i)),
                                          {}};
        // Body bytes so that the file reaches its size evenly over the mails.
        const std::size_t target = (LogBytes * std::size_t(i + 1)) / Mails;
        std::string record;
        do {
            seed = seed * 1103515245u + 12345u;
            mail.body += pieces[(seed >> 16) % std::size(pieces)];
            record = core::mailbox::recordBytes(core::mailbox::logRecord(mail, u"2026/12/06 9:05:03", i % 10 == 0));
        } while (bytes.size() + record.size() < target);
        bytes += record;
    }
    std::ofstream(workFolder() / "OutPutLog.mbx", std::ios::binary) << bytes;
}

std::u16string folder() {
    return platform::fromUtf8(workFolder().string());
}

void BM_LogRead(benchmark::State& state) {
    SilentPrompts prompts;
    FixedClock clock;
    core::Editor editor(prompts, clock, folder());
    for (auto _ : state) {
        editor.readingBecky(1);
        benchmark::DoNotOptimize(editor.s.List1.items.data());
    }
    if (editor.s.List1.items.size() != Mails + 1)
        state.SkipWithError("wrong row count");
    state.SetLabel(std::to_string(fs::file_size(workFolder() / "OutPutLog.mbx")) + " bytes");
}
BENCHMARK(BM_LogRead)->Unit(benchmark::kMillisecond);

void BM_FileRead(benchmark::State& state) {
    bench::readAndDecode(state, folder() + u"\\OutPutLog.mbx");
}
BENCHMARK(BM_FileRead)->Unit(benchmark::kMillisecond);

// The same log listed in the main window: the menu command until the list is painted.
void windowListing() {
    SilentPrompts prompts;
    FixedClock clock;
    core::Editor editor(prompts, clock, folder());
    ui::MainWindow window(editor);
    editor.setView(&window);
    editor.s.window.visible = true;
    window.refresh();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    window.ReadingBecky[1]->trigger();
    window.List1->repaint();
    QApplication::processEvents();
    const double shown = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    window.List1->scrollToBottom();
    window.List1->repaint();
    const double scrolled = double(timer.nsecsElapsed()) / 1e6;
    std::printf("window: %d logged mails listed and painted in %.1f ms, scrolled to the end in %.1f ms\n",
                int(window.List1->model()->rowCount()) - 1, shown, scrolled);
    editor.setView(nullptr);
}

} // namespace

int main(int argc, char** argv) {
    return bench::runWithWindow(argc, argv, workFolder(),
                                [] {
                                    writeLog();
                                    windowListing();
                                },
                                {{"log_read_vs_file_read", "BM_LogRead", "BM_FileRead"}});
}
