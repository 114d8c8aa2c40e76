#include "app/window_identity.h"

// Windows ties a running program to its shortcut by the executable itself, and the toolkit's
// window title is already Unicode there: nothing to add.
void nameMainWindow(const char* /*title*/) {}
