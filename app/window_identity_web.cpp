#include "app/window_identity.h"

// The page names itself: the windowing seam gives the document the window's title.
void nameMainWindow(const char* /*title*/) {}

// The page's title is its own for now: its GLUT has no way yet to change it after the start.
void retitleMainWindow(const char* /*title*/) {}
