// Scene frame: the display handler of the scene view. It places the viewer's eye, re-aims the
// light, and draws the four robots, the floor, the field lines and both goal posts. Reads the
// camera, robots and textures; changes none of them.
#pragma once

void displayScene();
