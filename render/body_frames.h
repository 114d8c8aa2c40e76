// Body frames: each body node's frame drawn at its origin as three short axes, local x red, y
// green, z blue, over everything and through the robots. The scene frame draws them last when
// the inspection's frames flag is on, for the selected robot or, with none selected, for all.
#pragma once

// Leaves the enables, current colour, line width and modelview matrix as it found them.
void drawBodyFrames(int selectedRobot);
