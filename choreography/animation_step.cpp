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
    printLine(completionLine(completion));
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
    // Forward the show runs on from where it is (which is where the ticks from the start would
    // have put it), so that a drag along the timeline costs only the ticks it crosses.
    if (tick < choreography.ticks) {
        seekShow(robots, choreography, gaitStates, tick);
        return;
    }
    const ShowHistory history = advanceShow(robots, choreography, gaitStates, tick);
    for (int k = 0; k < history.completionCount; ++k) {
        printCompletion(history.completions[k].completion);
    }
}
