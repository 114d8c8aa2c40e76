// The web build's glViewport: the program's calls take the current window's own pixels, and the
// page's windows (glut_windows.cpp) place them on the page's canvas. The web build includes this
// header ahead of every source of the GL layer.
#pragma once

#include <GL/gl.h>

#undef glViewport
#define glViewport windowViewport

void windowViewport(GLint x, GLint y, GLsizei width, GLsizei height);
