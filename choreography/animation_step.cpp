#include "choreography/animation_step.h"

#include "app/shell.h"
#include "choreography/choreography.h"
#include "common/console.h"

#include <GL/glut.h>

void animationStep() {
    const TickReport report = choreographyTick(robots, choreography, gaitStates, paused);
    // A paused tick returns at once: nothing changed, so nothing needs redrawing.
    if (!report.advanced) {
        return;
    }
    for (int k = 0; k < report.completionCount; ++k) {
        printLine(report.completions[k].command == Walk ? "finished walking"
                                                        : "finished spelling letter");
    }
    // Named, not the current window: drawing the main window or the help panel makes that
    // window current, and the robots live in the scene view.
    glutPostWindowRedisplay(sceneView);
}
