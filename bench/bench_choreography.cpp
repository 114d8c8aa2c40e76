// One choreography tick with four walking robots, node matrices included, and a seek to the
// show's end, which runs every tick of the show from its start; the seek is also given as a
// number of walking ticks. That a tick allocates nothing is asserted by tick_allocation_test.
// Also the longest show a file may hold read and checked, and the longest-running one started
// (read, checked, its history found), sought to its end and back to its middle.
#include "choreography/choreography.h"
#include "choreography/played_show.h"
#include "choreography/show_file.h"
#include "choreography/show_time.h"
#include "robot/node_matrix.h"
#include "tests/support/long_show.h"
#include "tests/support/start_show.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

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

void seekToEnd(benchmark::State& state) {
    const std::uint32_t end = showLength(wholeShow());
    Show show = startShow();
    for (auto _ : state) {
        ShowHistory history = seekShow(show.robots, show.choreography, show.gaits, end);
        benchmark::DoNotOptimize(history);
        benchmark::ClobberMemory();
    }
    state.counters["ticks"] = end;
}
BENCHMARK(seekToEnd);

// Every robot at its most commands, walking a step out and back between poses that move every
// joint, so each pose line names all thirteen.
std::string longestShowText() {
    ShowScripts show{};
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        float* command = show.script[i];
        for (std::uint32_t c = 0; c < MAX_SHOW_COMMANDS; ++c) {
            if (c % 2 == 0) {
                command[0] = static_cast<float>(Walk);
                command[1] = ROBOT_START[i][0] + (c % 4 == 0 ? 1.0f : 0.0f);
                command[2] = ROBOT_START[i][1];
                command[3] = ROBOT_START[i][2];
                command += WALK_LENGTH;
            } else {
                command[0] = static_cast<float>(Pose);
                for (int k = 0; k < JOINT_COUNT; ++k) {
                    command[1 + k] = -359.5f + static_cast<float>(c * 5 + k) * 0.5f;
                }
                command += POSE_LENGTH;
            }
        }
        show.commandCount[i] = MAX_SHOW_COMMANDS;
    }
    return writeShow(show);
}

void readLongestShow(benchmark::State& state) {
    const std::string text = longestShowText();
    for (auto _ : state) {
        ShowReading reading = readShow("longest", text);
        benchmark::DoNotOptimize(reading);
        if (!reading.accepted) {
            state.SkipWithError(reading.refusal.c_str());
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(readLongestShow);

void startLongestRunningShow(benchmark::State& state) {
    const std::string text = writeShow(longestRunningShow());
    std::uint32_t length = 0;
    for (auto _ : state) {
        ShowReading reading = readShow("longest running", text);
        if (!reading.accepted) {
            state.SkipWithError(reading.refusal.c_str());
            break;
        }
        ShowHistory whole = wholeShow(showChoreography(reading.show));
        benchmark::DoNotOptimize(whole);
        length = showLength(whole);
    }
    state.counters["ticks"] = length;
}
BENCHMARK(startLongestRunningShow);

// Sought from wherever the show is: a seek back runs from the start.
void seekLongestRunningShow(benchmark::State& state, bool toEnd) {
    const ShowScripts scripts = longestRunningShow();
    Show show = startShow();
    show.choreography = showChoreography(scripts);
    const std::uint32_t end = showLength(wholeShow(show.choreography));
    const std::uint32_t target = toEnd ? end : end / 2;
    for (auto _ : state) {
        state.PauseTiming();
        seekShow(show.robots, show.choreography, show.gaits, toEnd ? 0 : end);
        state.ResumeTiming();
        ShowHistory history = seekShow(show.robots, show.choreography, show.gaits, target);
        benchmark::DoNotOptimize(history);
        benchmark::ClobberMemory();
    }
    state.counters["ticks"] = target;
}
BENCHMARK_CAPTURE(seekLongestRunningShow, toEnd, true);
BENCHMARK_CAPTURE(seekLongestRunningShow, backToMiddle, false);

// The console report, and each benchmark's time per iteration kept for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            seconds[run.benchmark_name()] =
                run.real_accumulated_time / static_cast<double>(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto tick = reporter.seconds.find("walkingTick");
    const auto seek = reporter.seconds.find("seekToEnd");
    if (tick != reporter.seconds.end() && seek != reporter.seconds.end()) {
        std::printf("seek to the end = %.0f walking ticks (%.3f ms)\n",
                    seek->second / (tick->second / TICKS_PER_RUN), seek->second * 1e3);
    }
    for (const char* name :
         {"startLongestRunningShow", "seekLongestRunningShow/toEnd",
          "seekLongestRunningShow/backToMiddle"}) {
        const auto found = reporter.seconds.find(name);
        if (found != reporter.seconds.end()) {
            std::printf("%s: %.3f ms\n", name, found->second * 1e3);
        }
    }
    const auto read = reporter.seconds.find("readLongestShow");
    if (read != reporter.seconds.end()) {
        std::printf("reading and checking the longest show: %.3f ms\n", read->second * 1e3);
    }
    benchmark::Shutdown();
    return 0;
}
