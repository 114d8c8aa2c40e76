// Keyboard: the GLUT keyboard handler of the main window and the scene view.
#pragma once

void onKey(unsigned char key, int x, int y);
