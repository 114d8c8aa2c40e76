// One choreography tick with four walking robots, node matrices included. That a tick
// allocates nothing is asserted by tick_allocation_test.
#include "choreography/choreography.h"
#include "robot/node_matrix.h"
#include "tests/support/start_show.h"

#include <benchmark/benchmark.h>

namespace {

// Robot 0, the first to arrive, still walks until tick 273.
constexpr int TICKS_PER_RUN = 250;

void walkingTick(benchmark::State& state) {
    const Show start = startShow();
    Show show = start;
    for (auto _ : state) {
        // A run of ticks per iteration keeps every robot walking; the reset is outside the timing.
        state.PauseTiming();
        show = start;
        state.ResumeTiming();
        for (int t = 0; t < TICKS_PER_RUN; ++t) {
            // Not const: newer benchmark libraries deprecate DoNotOptimize on a const object.
            TickReport report = choreographyTick(show.robots, show.choreography, show.gaits, false);
            benchmark::DoNotOptimize(report);
        }
        benchmark::ClobberMemory();
    }
    state.counters["tick"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * TICKS_PER_RUN,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    if (show.choreography.finishedCount[0] != 0) {
        state.SkipWithError("a robot finished walking inside the timed run");
    }
}
BENCHMARK(walkingTick);

} // namespace

BENCHMARK_MAIN();
