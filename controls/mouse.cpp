#include "controls/mouse.h"

#include "common/view_hooks.h"
#include "controls/pointer_look.h"
#include "controls/walking_camera.h"

#include <GL/glut.h>

namespace {
bool looking = false; // the left button is down
int lastX = 0, lastY = 0;
DragCarry carry;
} // namespace

void onMouseButton(int button, int state, int x, int y) {
    if (button != GLUT_LEFT_BUTTON) {
        return;
    }
    // Each drag starts afresh: what an earlier one left over is not carried into it.
    looking = state == GLUT_DOWN;
    lastX = x;
    lastY = y;
    carry = {};
}

void onMouseMotion(int x, int y) {
    if (!looking) {
        return;
    }
    applyLookDrag(viewerCamera, carry, x - lastX, y - lastY);
    lastX = x;
    lastY = y;
    viewHooks.redisplayScene();
}

void onMouseWheel(int wheel, int direction, int /*x*/, int /*y*/) {
    // Wheel 0 is the vertical one; a horizontal scroll (a tilt wheel, a trackpad's sideways
    // swipe) comes as another and walks nowhere.
    if (wheel != 0) {
        return;
    }
    // One call per notch; positive is away from the viewer.
    applyWheel(viewerCamera, direction > 0 ? 1 : -1);
    viewHooks.redisplayScene();
}
