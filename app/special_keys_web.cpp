#include "app/special_keys.h"

// The page's GLUT has no special keys: its timeline steps and seeks instead.
void listenForSpecialKeys() {}

bool shiftHeld() {
    return false;
}
