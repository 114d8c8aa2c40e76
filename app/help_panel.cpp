#include "app/help_panel.h"

#include <GL/glu.h>
#include <GL/glut.h>
#include <cstdarg>
#include <cstdio>

namespace {
constexpr int TEXT_BUFFER_SIZE = 256;
} // namespace

void reshapeHelp(int /*width*/, int /*height*/) {
    // No glViewport: the panel is never resized, so the viewport the context started with
    // (the panel's full 480 x 70 pixels) stays right.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0.0, 300.0, 0.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
}

void displayHelp() {
    glClearColor(0.3f, 0.3f, 0.3f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    // Before the first raster position: the raster colour is taken when the position is set.
    glColor3f(0.0f, 1.0f, 0.0f);
    drawText(GLUT_BITMAP_HELVETICA_12, 20.0f, 80.0f, "  w,s: walk forward/back");
    drawText(GLUT_BITMAP_HELVETICA_12, 20.0f, 55.0f, "  a,d: turn left/right");
    drawText(GLUT_BITMAP_HELVETICA_12, 20.0f, 30.0f, "  p,l: tilt head up/down");
    drawText(GLUT_BITMAP_HELVETICA_12, 20.0f, 5.0f, "space: pause on/off");
    glFlush();
    glutSwapBuffers();
}

void drawText(void* font, float x, float y, const char* format, ...) {
    char text[TEXT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    // Bounded: longer text is cut at 255 characters and always ends with a zero byte.
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (length < 0) {
        text[0] = '\0';
    }
    glRasterPos2f(x, y);
    for (const char* c = text; *c != '\0'; ++c) {
        glutBitmapCharacter(font, static_cast<unsigned char>(*c));
    }
}
