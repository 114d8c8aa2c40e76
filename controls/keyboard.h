// Keyboard: the GLUT keyboard handlers of the main window and the scene view. They apply the
// key to the walking camera or the pause flag, replay the show, change full screen or the
// playing speed, print the place, or step and seek through the show; then they ask for the
// scene view to be redrawn and the title to say where the show is.
#pragma once

#include "choreography/show_time.h"

void onKey(unsigned char key, int x, int y);

// Arrows, Home, End, Page Up and Page Down.
void onSpecialKey(int key, int x, int y);

// Steps (pausing the robots first) or seeks the show as the special keys do; the page's timeline
// moves it so too.
void moveInShow(SeekMove move);
