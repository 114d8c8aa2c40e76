// Pointer look: a drag of the pointer and the notches of a wheel as the key presses they stand
// for, so that the camera moves only in the keys' own steps. Pure arithmetic. The mouse handlers
// and the page's gestures feed it; it drives the camera through applyKey.
#pragma once

#include "controls/walking_camera.h"

// Pixels of drag per turn or tilt step: a drag across the 480-pixel scene view is 80 turns of
// 1.5 degrees, 120 degrees.
constexpr int LOOK_PIXELS_PER_STEP = 6;
// Walk steps per wheel notch: half a field unit, so a few notches cross a useful distance.
constexpr int WALK_STEPS_PER_NOTCH = 10;

// Pixels of a drag not yet spent on a step, carried into the next motion; each below a step.
struct DragCarry {
    int x = 0;
    int y = 0;
};

// Adds amount to carry and takes out the whole steps of perStep units in it, toward zero:
// returns them, signed, and leaves the rest (of the sign of the sum) in carry.
int takeSteps(int& carry, int amount, int perStep);

// The pointer moved by (dx, dy) pixels with the look button down, x to the right and y down.
// The scene follows the pointer: a drag to the right turns the view left (a), a drag down tilts
// it up (p); to the left and up, d and l.
void applyLookDrag(ViewerCamera& camera, DragCarry& carry, int dx, int dy);

// Notches of the wheel: each one forward is WALK_STEPS_PER_NOTCH presses of w, each one back as
// many of s.
void applyWheel(ViewerCamera& camera, int notches);
