#include "app/window_identity.h"

#include <GL/freeglut.h>

// The page names itself: the windowing seam gives the document the window's title.
void nameMainWindow(const char* /*title*/) {}

// The page's GLUT keeps the title, and the page's document takes it as the program reports it.
void retitleMainWindow(const char* title) {
    glutSetWindowTitle(title);
}
