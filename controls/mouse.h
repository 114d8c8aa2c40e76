// Mouse: the GLUT mouse, motion and wheel handlers of the scene view. A drag with the left
// button looks around and the wheel walks, in the keys' own steps (pointer_look); each change
// asks for the scene view to be redrawn.
#pragma once

void onMouseButton(int button, int state, int x, int y);
void onMouseMotion(int x, int y);
void onMouseWheel(int wheel, int direction, int x, int y);
