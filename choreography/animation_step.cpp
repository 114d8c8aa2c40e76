#include "choreography/animation_step.h"

#include "choreography/choreography.h"
#include "choreography/show_clock.h"
#include "common/view_hooks.h"

#include <GL/glut.h>

namespace {
// False while the main window is unmapped (iconified).
bool windowSeen = true;
} // namespace

void animationStep() {
    // Nothing can change until the user acts: without an idle handler GLUT waits for events
    // instead of calling this in a tight loop. Such a call runs no tick (a paused one never did;
    // after the show a tick only counted, and the count now stops at the show's end), so every
    // line comes at the tick it always did.
    if (showResting(choreography, paused)) {
        glutIdleFunc(nullptr);
        return;
    }
    playIdleCall();
    // Redrawn also in the calls of a slow speed that run no tick: the frames pace the idle
    // calls, and without them a slow show would race through its waiting calls.
    viewHooks.redisplayScene();
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
