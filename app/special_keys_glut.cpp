#include "app/special_keys.h"
#include "controls/keyboard.h"

#include <GL/glut.h>

void listenForSpecialKeys() {
    glutSpecialFunc(onSpecialKey);
}

bool shiftHeld() {
    return (glutGetModifiers() & GLUT_ACTIVE_SHIFT) != 0;
}
