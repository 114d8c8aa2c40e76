#include "controls/pointer_look.h"

#include <algorithm>
#include <cstdlib>

namespace {
// What one event may carry: far more than any screen, little enough that the sum stays an int
// and the presses it stands for stay few.
constexpr int MAX_PIXELS = 1 << 16;
constexpr int MAX_NOTCHES = 1000;

// The key pressed count times, or its opposite for a negative count.
void press(ViewerCamera& camera, int count, unsigned char positive, unsigned char negative) {
    bool unchanged = false; // none of these keys toggles the pause
    const unsigned char key = count > 0 ? positive : negative;
    for (int k = std::abs(count); k > 0; --k) {
        applyKey(camera, unchanged, key);
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
    press(camera, takeSteps(carry.x, dx, LOOK_PIXELS_PER_STEP), 'a', 'd');
    press(camera, takeSteps(carry.y, dy, LOOK_PIXELS_PER_STEP), 'p', 'l');
}

void applyWheel(ViewerCamera& camera, int notches) {
    press(camera, std::clamp(notches, -MAX_NOTCHES, MAX_NOTCHES) * WALK_STEPS_PER_NOTCH, 'w', 's');
}
