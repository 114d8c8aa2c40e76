// Keyboard: the GLUT keyboard handler of the main window and the scene view. It applies the
// key to the walking camera or the pause flag, replays the show or changes full screen, then
// asks for the scene view to be redrawn.
#pragma once

void onKey(unsigned char key, int x, int y);
