#include "app/full_screen.h"

#include <GL/freeglut.h>

// Windows and the page put a window in full screen themselves when the toolkit asks.
void toggleWindowFullScreen() {
    glutFullScreenToggle();
}

void leaveWindowFullScreen() {
    glutLeaveFullScreen();
}
