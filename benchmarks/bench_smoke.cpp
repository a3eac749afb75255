#include "Ratio.h"

#include <benchmark/benchmark.h>

#include <string>

static void BM_Copy(benchmark::State& state) {
    std::u16string text(32000, u'a');
    for (auto _ : state) {
        std::u16string copy = text;
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_Copy);

int main(int argc, char** argv) { return bench::runWithRatios(argc, argv, {}); }
