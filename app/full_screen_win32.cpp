#include "app/full_screen.h"

#include <GL/freeglut.h>

// Windows puts a window in full screen itself when the toolkit asks.
void toggleWindowFullScreen() {
    glutFullScreenToggle();
}

void leaveWindowFullScreen() {
    glutLeaveFullScreen();
}
