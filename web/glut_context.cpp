// The page's GL context and gl4es on it: the canvas's WebGL context taken up as the program makes
// its top-level window, OpenGL 1.x started over it, the swap at the end of a frame, and the
// window's title, which the page's script shows as the document's as the program reports it.
#include "web/glut_web.h"

#include <GL/freeglut.h>
#include <cstdlib>
#include <emscripten.h>
#include <emscripten/html5.h>
#include <gl4esinit.h>
#include <string>

extern "C" {
// What gl4es does at a swap without EGL.
void gl4es_pre_swap();
void gl4es_post_swap();
// The page's canvas, or its worker's OffscreenCanvas, as "#canvas" (web/canvas_target.js).
void webTakeCanvas();
}

namespace {

int initialWidth = 300, initialHeight = 300;
std::string title;

EM_JS(void, stopWithoutWebGL, (), { abort("this browser gives the page no WebGL"); });

void mainFramebufferSize(int* width, int* height) {
    *width = windows[1].width;
    *height = windows[1].height;
}

} // namespace

// The WebGL context of the canvas, made current, and gl4es started on it. The page's script makes
// the context, with the attributes the program draws with, as it checks for WebGL (or its worker,
// on the OffscreenCanvas); a canvas gives whoever asks after that the same context, so this asks
// with no attributes of its own.
void createContext(int width, int height) {
    webTakeCanvas();
    emscripten_set_canvas_element_size(CANVAS, width, height);
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context(CANVAS, &attributes);
    if (context <= 0) {
        stopWithoutWebGL();
    }
    emscripten_webgl_make_context_current(context);
    // No start-up banner among the program's console lines. WebGL takes pictures whose sides are
    // not powers of two only without repeating or mipmaps, which OpenGL 2.0 promises: gl4es
    // reports 1.5, so that a picture is scaled first as for any OpenGL that needs it.
    setenv("LIBGL_NOBANNER", "1", 1);
    setenv("LIBGL_GL", "15", 1);
    set_getmainfbsize(mainFramebufferSize);
    initialize_gl4es();
}

void glutInit(int* /*argc*/, char** /*argv*/) {}

void glutInitDisplayMode(unsigned int /*mode*/) {}

void glutInitWindowSize(int width, int height) {
    initialWidth = width;
    initialHeight = height;
}

void glutInitWindowPosition(int /*x*/, int /*y*/) {}

int glutCreateWindow(const char* name) {
    if (windowCount != 0) {
        return 0; // the page has one canvas
    }
    createContext(initialWidth, initialHeight);
    glutSetWindowTitle(name);
    return createWindow(0, 0, 0, initialWidth, initialHeight);
}

void glutSwapBuffers() {
    // The browser shows the canvas when the animation frame ends.
    gl4es_pre_swap();
    gl4es_post_swap();
}

// The canvas is the one top-level window: a subwindow has no title of its own.
void glutSetWindowTitle(const char* name) {
    title = name;
}

const char* windowTitle() {
    return title.c_str();
}
