// The scene export: the whole show sampled and keyed, and the whole file built, textures and all.
#include "export/gltf_export.h"
#include "export/show_channels.h"

#include <benchmark/benchmark.h>

static void BM_SampleShow(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(sampleShow());
    }
}
BENCHMARK(BM_SampleShow)->Unit(benchmark::kMillisecond);

static void BM_ShowGlb(benchmark::State& state) {
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = showGlb();
        state.counters["bytes"] = static_cast<double>(bytes.size());
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_ShowGlb)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
