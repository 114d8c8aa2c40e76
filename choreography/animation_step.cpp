#include "choreography/animation_step.h"

#include "app/shell.h"
#include "choreography/choreography.h"
#include "common/console.h"

#include <GL/glut.h>

int playSpeed = NORMAL_SPEED;

namespace {
// Idle calls while playing, for the speeds below one tick per call.
std::uint32_t idleCalls = 0;

void printCompletion(const CommandCompletion& completion) {
    printLine(completion.command == Walk ? "finished walking" : "finished spelling letter");
}
} // namespace

const ShowHistory& showHistory() {
    static const ShowHistory whole = wholeShow();
    return whole;
}

void animationStep() {
    // A paused call returns at once: nothing changed, so nothing needs redrawing.
    if (paused) {
        return;
    }
    const int ticks = ticksForIdleCall(playSpeed, idleCalls++);
    for (int t = 0; t < ticks; ++t) {
        const TickReport report = choreographyTick(robots, choreography, gaitStates, paused);
        for (int k = 0; k < report.completionCount; ++k) {
            printCompletion(report.completions[k]);
        }
    }
    // Redrawn also in the calls of a slow speed that run no tick: the frames pace the idle
    // calls, and without them a slow show would race through its waiting calls.
    // Named, not the current window: drawing the main window or the help panel makes that
    // window current, and the robots live in the scene view.
    glutPostWindowRedisplay(sceneView);
}

void seekShowTo(std::uint32_t tick) {
    const std::uint32_t from = choreography.ticks;
    const ShowHistory history = seekShow(robots, choreography, gaitStates, tick);
    for (int k = 0; k < history.completionCount; ++k) {
        if (history.completions[k].tick > from) {
            printCompletion(history.completions[k].completion);
        }
    }
}
