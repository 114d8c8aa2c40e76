// Pointer look: a drag of the pointer and the notches of a wheel in the camera's own turn, tilt
// and walk steps, the ones its keys take, so that a drag and the keys land on the same views.
// Pure arithmetic. The mouse handlers and the page's gestures feed it.
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
// The scene follows the pointer: a drag to the right turns the view left (as a does), a drag
// down tilts it up (as p does); to the left and up, as d and l do.
void applyLookDrag(ViewerCamera& camera, DragCarry& carry, int dx, int dy);

// Notches of the wheel: each one forward is WALK_STEPS_PER_NOTCH steps forward (as w takes),
// each one back as many steps back.
void applyWheel(ViewerCamera& camera, int notches);
