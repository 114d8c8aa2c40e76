#include "choreography/animation_step.h"

#include "app/shell.h"
#include "choreography/choreography.h"
#include "common/console.h"

#include <GL/glut.h>

int playSpeed = NORMAL_SPEED;

namespace {
// Idle calls while playing, for the speeds below one tick per call.
std::uint32_t idleCalls = 0;

// False while the main window is unmapped (iconified).
bool windowSeen = true;

void printCompletion(const CommandCompletion& completion) {
    printLine(completionLine(completion));
}
} // namespace

const ShowHistory& showHistory() {
    static const ShowHistory whole = wholeShow();
    return whole;
}

void animationStep() {
    // Nothing can change until the user acts: without an idle handler GLUT waits for events
    // instead of calling this in a tight loop. Such a call runs no tick (a paused one never did;
    // after the show a tick only counted, and the count now stops at the show's end), so every
    // line comes at the tick it always did.
    if (showResting(choreography, paused)) {
        glutIdleFunc(nullptr);
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

void wakeShow() {
    if (windowSeen && !showResting(choreography, paused)) {
        glutIdleFunc(animationStep);
    }
}

void windowStatusMain(int state) {
    // Only an unmapped (iconified) window waits. One fully covered by others plays on, its
    // lines still coming on the console: GLUT draws nothing into it meanwhile, and under a
    // compositor no window is ever reported covered.
    windowSeen = state != GLUT_HIDDEN;
    if (windowSeen) {
        wakeShow();
    } else {
        glutIdleFunc(nullptr);
    }
}

void seekShowTo(std::uint32_t tick) {
    // Forward the show runs on from where it is (which is where the ticks from the start would
    // have put it), so that a drag along the timeline costs only the ticks it crosses.
    if (tick < choreography.ticks) {
        seekShow(robots, choreography, gaitStates, tick);
    } else {
        const ShowHistory history = advanceShow(robots, choreography, gaitStates, tick);
        for (int k = 0; k < history.completionCount; ++k) {
            printCompletion(history.completions[k].completion);
        }
    }
    wakeShow();
}
