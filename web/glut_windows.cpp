// The page's windows: the top-level window is the canvas, a subwindow a region of it, drawn
// through its own viewport and scissor, so the program's glViewport (web/web_viewport.h) is taken
// in the window's own pixels. Also the GLUT calls about a window, and input handed to one.
//
// One GL context serves every window. The window that is current when the event loop starts (the
// scene view) keeps its state on it; any other window draws between a push and a pop of the whole
// attribute stack, starting from GL's defaults with its own matrices and viewport, which is all
// the main window and the help panel keep between frames.
#include "web/glut_web.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cstdlib>
#include <gl4esinit.h>

WebWindow windows[MAX_WINDOWS + 1];
int windowCount = 0;
int current = 0;
int homeWindow = 0;

namespace {

int onContext = 0; // the window whose state the context holds

// What a fresh GL context has switched off, and the program might have switched on.
constexpr GLenum OFF_BY_DEFAULT[] = {
    GL_ALPHA_TEST,     GL_BLEND,         GL_COLOR_MATERIAL, GL_CULL_FACE,
    GL_DEPTH_TEST,     GL_FOG,           GL_LIGHTING,       GL_LIGHT0,
    GL_LIGHT1,         GL_LIGHT2,        GL_LIGHT3,         GL_LIGHT4,
    GL_LIGHT5,         GL_LIGHT6,        GL_LIGHT7,         GL_LINE_SMOOTH,
    GL_LINE_STIPPLE,   GL_NORMALIZE,     GL_POINT_SMOOTH,   GL_POLYGON_OFFSET_FILL,
    GL_POLYGON_SMOOTH, GL_STENCIL_TEST,  GL_TEXTURE_1D,     GL_TEXTURE_2D,
    GL_TEXTURE_GEN_S,  GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R,  GL_TEXTURE_GEN_Q,
};

// The window's viewport and scissor, in the canvas's pixels from its bottom-left corner.
void placeWindow(const WebWindow& window) {
    const int bottom = windows[1].height - window.y - window.height;
    glScissor(window.x, bottom, window.width, window.height);
    // gl4es's header gives every GL function gl4es's own name; this is the real glViewport.
    gl4es_glViewport(window.x + window.viewport[0], bottom + window.viewport[1], window.viewport[2],
                     window.viewport[3]);
}

void saveMatrices(WebWindow& window) {
    glGetIntegerv(GL_MATRIX_MODE, &window.matrixMode);
    glGetFloatv(GL_PROJECTION_MATRIX, window.projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, window.modelview);
}

void loadMatrices(const WebWindow& window) {
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(window.projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(window.modelview);
    glMatrixMode(static_cast<GLenum>(window.matrixMode));
}

// Hands the context to another window: its state, matrices, viewport and scissor.
void putOnContext(int id) {
    if (id == onContext) {
        return;
    }
    // gl4es draws text at a flush: the window the text belongs to must still be on.
    glFlush();
    saveMatrices(windows[onContext]);
    if (onContext != homeWindow) {
        glPopClientAttrib();
        glPopAttrib();
    }
    if (id != homeWindow) {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
        for (GLenum capability : OFF_BY_DEFAULT) {
            glDisable(capability);
        }
        glEnable(GL_SCISSOR_TEST);
    }
    onContext = id;
    loadMatrices(windows[id]);
    placeWindow(windows[id]);
}

// Calls the window's handler, if it has one, with the window current: the handler's own
// arguments, then the point in the window's own pixels.
template <typename Handler, typename... Args>
void deliver(int target, Handler WebWindow::*handler, int x, int y, Args... args) {
    const WebWindow& window = windows[target];
    if (window.*handler != nullptr) {
        makeCurrent(target);
        (window.*handler)(args..., x - window.x, y - window.y);
        inputDelivered();
    }
}

} // namespace

int createWindow(int parent, int x, int y, int width, int height) {
    if (windowCount == MAX_WINDOWS) {
        return 0;
    }
    const int id = ++windowCount;
    WebWindow& window = windows[id];
    window.parent = parent;
    window.x = parent != 0 ? windows[parent].x + x : 0;
    window.y = parent != 0 ? windows[parent].y + y : 0;
    window.width = width;
    window.height = height;
    window.viewport[2] = width;
    window.viewport[3] = height;
    makeCurrent(id);
    return id;
}

void makeCurrent(int id) {
    current = id;
    // Before the loop the current window's calls are all set-up of the context itself.
    if (homeWindow == 0) {
        onContext = id;
    } else {
        putOnContext(id);
    }
}

void keepStateOnContext() {
    homeWindow = current;
    onContext = homeWindow;
    glEnable(GL_SCISSOR_TEST);
    placeWindow(windows[homeWindow]);
}

bool isInside(int id, int ancestor) {
    for (int parent = windows[id].parent; parent != 0; parent = windows[parent].parent) {
        if (parent == ancestor) {
            return true;
        }
    }
    return false;
}

int windowAt(int x, int y) {
    int found = 1;
    for (int id = 2; id <= windowCount; ++id) {
        const WebWindow& w = windows[id];
        if (x >= w.x && x < w.x + w.width && y >= w.y && y < w.y + w.height) {
            found = id;
        }
    }
    return found;
}

int windowPoint(int canvasX, int canvasY, int* x, int* y) {
    *x = canvasX;
    *y = canvasY;
    const int id = windowAt(*x, *y);
    *x -= windows[id].x;
    *y -= windows[id].y;
    return id;
}

void deliverKey(int target, int character, int x, int y) {
    deliver(target, &WebWindow::keyboard, x, y, static_cast<unsigned char>(character));
}

void deliverSpecialKey(int target, int key, int x, int y) {
    deliver(target, &WebWindow::special, x, y, key);
}

void deliverButton(int target, int button, int state, int x, int y) {
    deliver(target, &WebWindow::mouse, x, y, button, state);
}

void deliverMotion(int target, int x, int y) {
    deliver(target, &WebWindow::motion, x, y);
}

// One call of the wheel handler per notch, as GLUT makes them: wheel 0, the vertical one.
void deliverNotches(int target, int notches, int x, int y) {
    for (int k = std::abs(notches); k > 0; --k) {
        deliver(target, &WebWindow::wheel, x, y, 0, notches > 0 ? 1 : -1);
    }
}

void windowViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    WebWindow& window = windows[onContext];
    window.viewport[0] = x;
    window.viewport[1] = y;
    window.viewport[2] = width;
    window.viewport[3] = height;
    placeWindow(window);
}

int glutCreateSubWindow(int parent, int x, int y, int width, int height) {
    if (parent < 1 || parent > windowCount) {
        return 0;
    }
    return createWindow(parent, x, y, width, height);
}

void glutSetWindow(int id) {
    if (id >= 1 && id <= windowCount) {
        makeCurrent(id);
    }
}

void glutDisplayFunc(void (*callback)()) {
    windows[current].display = callback;
}

void glutReshapeFunc(void (*callback)(int, int)) {
    windows[current].reshape = callback;
}

void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) {
    windows[current].keyboard = callback;
}

void glutSpecialFunc(void (*callback)(int, int, int)) {
    windows[current].special = callback;
}

void glutMouseFunc(void (*callback)(int, int, int, int)) {
    windows[current].mouse = callback;
}

void glutMotionFunc(void (*callback)(int, int)) {
    windows[current].motion = callback;
}

void glutMouseWheelFunc(void (*callback)(int, int, int, int)) {
    windows[current].wheel = callback;
}

void glutPostRedisplay() {
    windows[current].redisplay = true;
    wakeLoop();
}

void glutPostWindowRedisplay(int id) {
    if (id >= 1 && id <= windowCount) {
        windows[id].redisplay = true;
        wakeLoop();
    }
}

// The canvas is never iconified; a tab in the background gets no animation frames anyway.
void glutWindowStatusFunc(void (*)(int)) {}

int glutGet(GLenum what) {
    const WebWindow& window = windows[current];
    switch (what) {
    case GLUT_WINDOW_WIDTH:
        return window.width;
    case GLUT_WINDOW_HEIGHT:
        return window.height;
    default:
        return 0;
    }
}
