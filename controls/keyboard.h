// Keyboard: the GLUT keyboard handlers of the main window and the scene view. They apply the
// key to the walking camera or the pause flag, replay the show, change full screen or the
// playing speed, print the place, or step and seek through the show; then they ask for the
// scene view to be redrawn and the title to say where the show is.
#pragma once

void onKey(unsigned char key, int x, int y);

// Arrows, Home, End, Page Up and Page Down; registered where the toolkit has special keys.
void onSpecialKey(int key, int x, int y);
