// Opening the MY address book on 5,000 entries against reading and decoding addr.adr alone.
#include "BenchWindow.h"
#include "BenchSupport.h"
#include "CommandTime.h"
#include "Ratio.h"

#include "core/addressbook/AddressBookForm.h"
#include "core/app/Clock.h"
#include "core/app/Editor.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "ui/AddressBookWindow.h"
#include "ui/MainWindow.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int Entries = 5000;

struct FixedClock : bench::StillClock {
    FixedClock() : StillClock(core::DateTime{2026, 12, 7, 9, 5, 3}) {}
};

const fs::path& workFolder() {
    static const fs::path folder = bench::scratchFolder("book");
    return folder;
}

std::u16string number(int n) {
    return platform::fromUtf8(std::to_string(n));
}

// Full records with Japanese names and models, a bare address now and then.
void writeBook() {
    static const std::u16string_view models[] = {u"P501i", u"N501i", u"F501i", u"D501i", u"不明"};
    std::u16string text;
    for (int i = 0; i < Entries; ++i) {
        if (i % 10 == 9) {
            text += u"friend" + number(i) + u"@example.com\r\n";
            continue;
        }
        text += u"user" + number(i) + u"@docomo.ne.jp\t友達その" + number(i) + u"\t" + std::u16string(models[i % 5]) +
                u"\tあだ名" + number(i) + u"\t.\t.\r\n";
    }
    std::ofstream(workFolder() / "addr.adr", std::ios::binary) << platform::encodeCp932(text);
}

std::u16string folder() {
    return platform::fromUtf8(workFolder().string());
}

void BM_AddressBookOpen(benchmark::State& state) {
    bench::AutoPrompts prompts;
    FixedClock clock;
    core::Editor editor(prompts, clock, folder());
    editor.loadModelList();
    core::EditorAddressHost host(editor);
    bench::CommandTime time(state);
    for (auto _ : state) {
        // Only the opening is timed: freeing the book belongs to closing the window.
        std::unique_ptr<core::AddressBookForm> form;
        time([&] {
            form = std::make_unique<core::AddressBookForm>(host);
            form->openMyBook();
        });
        benchmark::DoNotOptimize(form->entries.data());
        if (form->entries.size() != Entries)
            state.SkipWithError("wrong entry count");
    }
}
BENCHMARK(BM_AddressBookOpen)->Unit(benchmark::kMicrosecond);

void BM_FileRead(benchmark::State& state) {
    bench::readAndDecode(state, folder() + u"\\addr.adr");
}
BENCHMARK(BM_FileRead)->Unit(benchmark::kMicrosecond);

// The same book in the window: the button until the list is painted.
void windowOpening() {
    bench::AutoPrompts prompts;
    FixedClock clock;
    core::Editor editor(prompts, clock, folder());
    editor.loadModelList();
    ui::MainWindow window(editor);
    editor.setView(&window);
    editor.s.window.visible = true;
    window.refresh();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    window.Command6->click();
    ui::AddressBookWindow* book = window.addressBookWindow();
    book->repaint();
    QApplication::processEvents();
    std::printf("window: the MY address book of %d entries opened and painted in %.1f ms\n", int(Entries),
                double(timer.nsecsElapsed()) / 1e6);
    book->close();
    editor.setView(nullptr);
}

} // namespace

int main(int argc, char** argv) {
    return bench::runWithWindow(argc, argv, workFolder(),
                                [] {
                                    writeBook();
                                    windowOpening();
                                },
                                {{"addressbook_open_vs_file_read", "BM_AddressBookOpen", "BM_FileRead"}});
}
