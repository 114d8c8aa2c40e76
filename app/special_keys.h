// Special keys: the arrows, Home, End and the page keys, where the toolkit delivers them. The
// page's GLUT does not yet, and the page gets its own timeline for stepping and seeking.
#pragma once

// Registers onSpecialKey for the current window.
void listenForSpecialKeys();

// Whether Shift was held with the key being handled.
bool shiftHeld();
