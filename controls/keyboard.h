// Keyboard: the GLUT keyboard handlers of the main window and the scene view. They apply the
// key to the walking camera or the pause flag, replay the show, change full screen or the
// playing speed, print the place, step and seek through the show (the show clock's verbs), or
// select a robot, show its body frames and print its state; then the scene view is redrawn and
// the title says where the show is (viewHooks).
#pragma once

void onKey(unsigned char key, int x, int y);

// Arrows, Home, End, Page Up and Page Down.
void onSpecialKey(int key, int x, int y);
