// Vertical layout speed beside copying the same text once.
#include "BenchSupport.h"
#include "Ratio.h"

#include "core/vertical/HorizontalLayout.h"
#include "core/vertical/VerticalConversion.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using DeclineAll = bench::FixedAnswer; // answers No

// 10,000 lines of two double-byte characters, two lines in five with an ASCII letter too:
// 40,000 + 4,000 + 20,000 (CR LF) = 64,000 bytes in Shift_JIS.
const std::u16string& body() {
    static const std::u16string text = [] {
        const std::u16string pairs[] = {u"あい", u"縦書", u"かな", u"漢字", u"テス"};
        std::u16string t;
        for (int i = 0; i < 10000; ++i) {
            t += pairs[i % 5];
            if (i % 5 < 2)
                t += u'a';
            t += u"\r\n";
        }
        return t;
    }();
    return text;
}

// Three full pages of the send layout for the start-up model.
const std::u16string& threePages() {
    static const std::u16string text = [] {
        std::u16string mail;
        for (int i = 0; i < 216; ++i)
            mail += i % 17 == 16 ? std::u16string(u"\r\n") : std::u16string(1, static_cast<char16_t>(u'あ' + i % 40));
        DeclineAll no;
        return core::toVertical(mail, {8, 9}, core::VerticalMode::Send, no).text;
    }();
    return text;
}

void BM_Vertical(benchmark::State& state) {
    DeclineAll no;
    for (auto _ : state) {
        core::VerticalResult result = core::toVertical(body(), {8, 9}, core::VerticalMode::Preview, no);
        benchmark::DoNotOptimize(result.text.data());
    }
}
BENCHMARK(BM_Vertical);

void BM_CopyBody(benchmark::State& state) {
    for (auto _ : state) {
        std::u16string copy = body();
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_CopyBody);

void BM_Reverse(benchmark::State& state) {
    for (auto _ : state) {
        auto result = core::toHorizontal(threePages(), {8, 9});
        benchmark::DoNotOptimize(result->data());
    }
}
BENCHMARK(BM_Reverse);

void BM_CopyLayout(benchmark::State& state) {
    for (auto _ : state) {
        std::u16string copy = threePages();
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_CopyLayout);

void BM_LookupBody(benchmark::State& state) {
    bench::lookupEachUnit(state, body());
}
BENCHMARK(BM_LookupBody);

void BM_LookupLayout(benchmark::State& state) {
    bench::lookupEachUnit(state, threePages());
}
BENCHMARK(BM_LookupLayout);

} // namespace

int main(int argc, char** argv) {
    return bench::runWithRatios(argc, argv,
                                {{"vertical_vs_copy", "BM_Vertical", "BM_CopyBody", true},
                                 {"vertical_vs_lookup", "BM_Vertical", "BM_LookupBody", true},
                                 {"reverse_vs_copy", "BM_Reverse", "BM_CopyLayout", true},
                                 {"reverse_vs_lookup", "BM_Reverse", "BM_LookupLayout", true}});
}
