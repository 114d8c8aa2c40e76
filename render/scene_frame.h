// Scene frame: the display handler of the scene view. It places the viewer's eye, re-aims the
// light, and draws the four robots, the floor, the field lines and both goal posts. Reads the
// camera, robots and textures; changes none of them.
#pragma once

#include "controls/walking_camera.h"

// Loads the camera's matrix into the current matrix by its three GL calls; cameraMatrix is the
// same matrix in the core, for picking, and a GL test holds the two equal.
void applyCamera(const ViewerCamera& camera);

void displayScene();
