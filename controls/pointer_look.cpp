#include "controls/pointer_look.h"

#include <algorithm>
#include <cstdlib>

namespace {
// What one event may carry: far more than any screen, little enough that the sum stays an int
// and the steps it stands for stay few.
constexpr int MAX_PIXELS = 1 << 16;
constexpr int MAX_NOTCHES = 1000;

void turnSteps(ViewerCamera& camera, int count) {
    for (int k = std::abs(count); k > 0; --k) {
        turn(camera, count > 0 ? TURN_STEP_DEG : -TURN_STEP_DEG);
    }
}

// Positive tilts the view up, as p does: toward a smaller pitch.
void tiltSteps(ViewerCamera& camera, int count) {
    for (int k = std::abs(count); k > 0; --k) {
        tilt(camera, count > 0 ? -TILT_STEP_DEG : TILT_STEP_DEG);
    }
}

void walkSteps(ViewerCamera& camera, int count) {
    for (int k = std::abs(count); k > 0; --k) {
        if (count > 0) {
            walkForward(camera);
        } else {
            walkBack(camera);
        }
    }
}
} // namespace

int takeSteps(int& carry, int amount, int perStep) {
    carry += std::clamp(amount, -MAX_PIXELS, MAX_PIXELS);
    const int steps = carry / perStep;
    carry -= steps * perStep;
    return steps;
}

void applyLookDrag(ViewerCamera& camera, DragCarry& carry, int dx, int dy) {
    turnSteps(camera, takeSteps(carry.x, dx, LOOK_PIXELS_PER_STEP));
    tiltSteps(camera, takeSteps(carry.y, dy, LOOK_PIXELS_PER_STEP));
}

void applyWheel(ViewerCamera& camera, int notches) {
    walkSteps(camera, std::clamp(notches, -MAX_NOTCHES, MAX_NOTCHES) * WALK_STEPS_PER_NOTCH);
}
