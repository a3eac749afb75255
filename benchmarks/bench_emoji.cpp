// "置換(&T)" over a long body full of escaped keywords, beside copying that body.
#include "BenchSupport.h"
#include "CommandTime.h"
#include "Ratio.h"

#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "core/text/EmojiRegistry.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t BodyBytes = 64000;
constexpr int Keywords = 1000;
constexpr int Entries = 207; // every code the registry window offers

using SilentPrompts = bench::FixedAnswer;

using FixedClock = bench::StillClock;

const fs::path& workFolder() {
    static const fs::path folder = bench::scratchFolder("emoji");
    return folder;
}

// Keywords of mail words: several share their start ("hare", "harebare"), as real tables do.
std::u16string keyword(int i) {
    static const char16_t* const stems[] = {u"hare", u"kumori", u"ame", u"yuki", u"kaminari", u"taifuu", u"kiri"};
    return std::u16string(stems[i % 7]) + (i < 7 ? u"" : core::decimal(i));
}

std::u16string emoji(int i) {
    int code = core::browserCode(i);
    return platform::decodeCp932(std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)});
}

// The table as users have it: saved well before the commands that use it.
void writeTable() {
    std::u16string text;
    for (int i = 0; i < Entries; ++i)
        text += emoji(i) + u"\t" + keyword(i) + u"\r\n";
    const fs::path file = workFolder() / "Emoji.code";
    std::ofstream(file, std::ios::binary) << platform::encodeCp932(text);
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(24));
}

// BodyBytes bytes of kana filler with Keywords escaped keywords spread through it.
std::u16string body() {
    std::u16string escaped;
    std::size_t escapedBytes = 0;
    for (int i = 0; i < Keywords; ++i)
        escapedBytes += 1 + keyword(i % Entries).size();
    std::size_t perGap = (BodyBytes - escapedBytes) / 2 / Keywords;
    std::u16string out;
    for (int i = 0; i < Keywords; ++i) {
        out.append(perGap, u'あ');
        out += u"\\" + keyword((i * 37) % Entries);
    }
    while (platform::sjisLength(out) + 2 <= BodyBytes)
        out += u'あ';
    while (platform::sjisLength(out) < BodyBytes)
        out += u'a';
    return out;
}

void BM_Replace(benchmark::State& state) {
    writeTable();
    SilentPrompts prompts;
    FixedClock clock;
    core::Editor editor(prompts, clock, platform::fromUtf8(workFolder().string()));
    const std::u16string text = body();
    {
        bench::CommandTime time(state);
        for (auto _ : state) {
            editor.setBody(text);
            time([&] { editor.emojiReplace(0); });
            benchmark::DoNotOptimize(editor.s.Text1.text.data());
        }
    }
    auto left = std::count(editor.s.Text1.text.begin(), editor.s.Text1.text.end(), u'\\');
    state.SetLabel(std::to_string(left) + " keywords left");
}
BENCHMARK(BM_Replace);

void BM_CopyBody(benchmark::State& state) {
    const std::u16string text = body();
    for (auto _ : state) {
        std::u16string copy = text;
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_CopyBody);

void BM_Lookup(benchmark::State& state) {
    bench::lookupEachUnit(state, body());
}
BENCHMARK(BM_Lookup);

} // namespace

int main(int argc, char** argv) {
    int code = bench::runWithRatios(argc, argv,
                                    {{"replace_vs_copy", "BM_Replace", "BM_CopyBody", true},
                                     {"replace_vs_lookup", "BM_Replace", "BM_Lookup", true}});
    std::error_code ec;
    fs::remove_all(workFolder(), ec);
    return code;
}
