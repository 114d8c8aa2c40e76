// Cost of one scene frame against an empty frame (clear and swap only) in the same 480 x 400
// scene view, in the same run, on whatever GL the display offers (Mesa's software renderer
// under Xvfb). Run through tests/support/with_display.sh, as `make bench` does.
#include "app/shell.h"
#include "render/scene_frame.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

namespace {

void startOnce() {
    static bool started = false;
    if (started) {
        return;
    }
    started = true;
    int argc = 1;
    char name[] = "bench_frame";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    createWindows();
    initSceneView();
    for (int i = 0; i < 50; ++i) {
        glutMainLoopEvent();
    }
    glutSetWindow(sceneView);
}

void emptyFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFlush();
    glutSwapBuffers();
}

// Draws frames with the given routine, each finished before the next, and reports their rate.
void measureFrames(benchmark::State& state, void (*frame)()) {
    startOnce();
    for (auto _ : state) {
        frame();
        glFinish();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                               benchmark::Counter::kIsRate);
}

void BM_EmptyFrame(benchmark::State& state) {
    measureFrames(state, emptyFrame);
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_SceneFrame(benchmark::State& state) {
    measureFrames(state, displayScene);
}
BENCHMARK(BM_SceneFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
