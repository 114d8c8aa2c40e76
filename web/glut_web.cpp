// Windowing for the web page: the GLUT calls the program makes, answered on the page's one
// WebGL canvas. The top-level window is the canvas; a subwindow is a region of it, drawn through
// its own viewport and scissor, so the program's glViewport (web/web_viewport.h) is taken in the
// window's own pixels.
//
// One GL context serves every window. The window that is current when the event loop starts (the
// scene view) keeps its state on it; any other window draws between a push and a pop of the whole
// attribute stack, starting from GL's defaults with its own matrices and viewport, which is all
// the main window and the help panel keep between frames.
//
// The browser's animation frames drive the loop. Each delivers what GLUT's loop would: the first
// reshape of each window, the redisplays posted, then one idle call. Keys come from the canvas,
// when it has the focus, as GLUT delivers them, to the window under the pointer (the top-level
// one when the pointer is off the canvas). The mouse's buttons and motion go to the window under
// the pointer, and stay with it while a button is down; the wheel's scrolling, fine or not, comes
// in notches. Touch is the mouse for one finger: a drag is a left-button drag, a tap is a space
// for the top-level window; two fingers moved up or apart are the wheel forward, down or together
// the wheel back. Points are taken in the canvas's own pixels however large the page shows it.
// The canvas keeps its picture between frames, so a window that does not redraw keeps what it
// drew, as a window on a desktop does; a window that redraws paints over its subwindows' regions
// too, so they draw again after it, in the same frame.
#include "controls/pointer_look.h"
#include "web/fg_internal.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <emscripten.h>
#include <emscripten/html5.h>
#include <gl4esinit.h>

extern "C" {
// The font data built from freeglut's, and what gl4es does at a swap without EGL.
extern SFG_Font fgFontHelvetica12;
void gl4es_pre_swap();
void gl4es_post_swap();
}

void* glutBitmapHelvetica12 = nullptr; // only its address matters: it names the font

namespace {

constexpr const char* CANVAS = "#canvas";
constexpr int MAX_WINDOWS = 8;

struct WebWindow {
    int parent = 0;
    int x = 0, y = 0; // from the canvas's top-left corner, y down
    int width = 0, height = 0;
    void (*display)() = nullptr;
    void (*reshape)(int, int) = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    void (*mouse)(int, int, int, int) = nullptr;
    void (*motion)(int, int) = nullptr;
    void (*wheel)(int, int, int, int) = nullptr;
    bool shown = false; // has had its first reshape
    bool redisplay = false;
    GLint viewport[4] = {0, 0, 0, 0}; // in the window's own pixels, from its bottom-left corner
    GLfloat projection[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    GLfloat modelview[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    GLint matrixMode = GL_MODELVIEW;
};

// The first frames are drawn behind the page's loading line: gl4es and the browser compile what
// drawing needs, and set up the buffers its vertex arrays go through, in the first frame; the
// main window, whose first frame asks for a second, draws again in the next. The first takes
// several frames' time, the next most of one, and no frame the visitor sees should wait for that.
// The scene view draws in each of them.
constexpr int HIDDEN_FRAMES = 2;
int framesRun = 0;

// By window number; 0 is no window.
WebWindow windows[MAX_WINDOWS + 1];
int windowCount = 0;
int current = 0;   // the window GLUT calls are about
int onContext = 0; // the window whose state the context holds
int home = 0;      // the window that keeps its state on the context; 0 until the loop starts
void (*idle)() = nullptr;

int initialWidth = 300, initialHeight = 300;

// How many idle calls there have been, and how many there may be (negative: no limit).
long idleCalls = 0;
long idleLimit = -1;

bool pointerOnCanvas = false;
int pointerX = 0, pointerY = 0; // in the canvas's pixels

// The window that took a button press, and the buttons still down (bit n for GLUT button n).
int pressedWindow = 0;
int buttonsDown = 0;
int wheelCarry = 0; // scrolled pixels not yet a notch

// What the wheel scrolls by for a notch: pixels, and lines as another browser counts them.
constexpr double WHEEL_PIXELS_PER_NOTCH = 100;
constexpr double WHEEL_PIXELS_PER_LINE = WHEEL_PIXELS_PER_NOTCH / 3;
// Two fingers walk a notch for this many canvas pixels of moving up or spreading.
constexpr int TOUCH_PIXELS_PER_NOTCH = 40;
// A tap is a touch shorter than this that stays this close to where it began.
constexpr double TAP_MS = 300;
constexpr int TAP_SLOP_PIXELS = 10;

// One touch gesture, from the first finger down to the last one up.
struct TouchGesture {
    int fingers = 0; // most at once so far
    double startMs = 0;
    int startX = 0, startY = 0;
    bool tap = false;   // still short and still
    int walkWindow = 0; // the window two fingers walk in
    int lastMidY = 0, lastSpread = 0;
    int walkCarry = 0;
};
TouchGesture gesture;

// clang-format off
EM_JS(void, showFirstPicture, (), {
    if (Module.onFirstPicture) Module.onFirstPicture();
});
// clang-format on
EM_JS(void, setDocumentTitle, (const char* title), { document.title = UTF8ToString(title); });
EM_JS(void, stopWithoutWebGL, (), { abort("this browser gives the page no WebGL"); });
// Full screen for the canvas, which the page's style scales to fit the screen, square.
// clang-format off
EM_JS(void, toggleCanvasFullScreen, (), {
    if (document.fullscreenElement) {
        document.exitFullscreen();
    } else {
        const canvas = document.getElementById("canvas");
        if (canvas.requestFullscreen) canvas.requestFullscreen().catch(function () {});
    }
});
EM_JS(void, leaveCanvasFullScreen, (), {
    if (document.fullscreenElement) document.exitFullscreen();
});
// clang-format on

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

int canvasHeight() {
    return windows[1].height;
}

// The window's viewport and scissor, in the canvas's pixels from its bottom-left corner.
void placeWindow(const WebWindow& window) {
    const int bottom = canvasHeight() - window.y - window.height;
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
    if (onContext != home) {
        glPopClientAttrib();
        glPopAttrib();
    }
    if (id != home) {
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

void makeCurrent(int id) {
    current = id;
    // Before the loop the current window's calls are all set-up of the context itself.
    if (home == 0) {
        onContext = id;
    } else {
        putOnContext(id);
    }
}

// The deepest window whose region holds the point of the canvas.
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

// The character GLUT's keyboard callback gets for a key of the page (the key's text, as the
// page's keyboard layout and Shift make it), or -1 for a key that has none.
int keyCharacter(const char* key) {
    const auto* text = reinterpret_cast<const unsigned char*>(key);
    if (text[0] != 0 && text[1] == 0 && text[0] < 0x80) {
        return text[0];
    }
    // One two-byte UTF-8 character from Latin-1's upper half.
    if ((text[0] & 0xe0) == 0xc0 && (text[1] & 0xc0) == 0x80 && text[2] == 0) {
        const int code = ((text[0] & 0x1f) << 6) | (text[1] & 0x3f);
        return code < 256 ? code : -1;
    }
    const struct {
        const char* name;
        int character;
    } named[] = {{"Enter", 13}, {"Escape", 27}, {"Backspace", 8}, {"Delete", 127}};
    for (const auto& n : named) {
        if (std::strcmp(key, n.name) == 0) {
            return n.character;
        }
    }
    return -1;
}

// Calls the window's handler, if it has one, with the window current: the handler's own
// arguments, then the point in the window's own pixels.
template <typename Handler, typename... Args>
void deliver(int target, Handler WebWindow::*handler, int x, int y, Args... args) {
    const WebWindow& window = windows[target];
    if (window.*handler != nullptr) {
        makeCurrent(target);
        (window.*handler)(args..., x - window.x, y - window.y);
    }
}

void deliverKey(int target, int character, int x, int y) {
    deliver(target, &WebWindow::keyboard, x, y, static_cast<unsigned char>(character));
}

EM_BOOL onKeyDown(int /*type*/, const EmscriptenKeyboardEvent* event, void* /*data*/) {
    // Shortcuts with Ctrl, Alt or Meta stay the browser's, and so do Tab and the keys that
    // make no character.
    if (event->ctrlKey || event->altKey || event->metaKey) {
        return EM_FALSE;
    }
    const int character = keyCharacter(event->key);
    if (character < 0) {
        return EM_FALSE;
    }
    deliverKey(pointerOnCanvas ? windowAt(pointerX, pointerY) : 1, character, pointerX, pointerY);
    // Only the space has a default worth keeping from the page: it would scroll it.
    return character == ' ' ? EM_TRUE : EM_FALSE;
}

// A point of the canvas's box, in CSS pixels from its corner, in the canvas's own pixels. The
// picture keeps its shape: where the box is wider or taller (in full screen), it is centred.
void canvasPoint(long cssX, long cssY, int* x, int* y) {
    double boxWidth = 0, boxHeight = 0;
    emscripten_get_element_css_size(CANVAS, &boxWidth, &boxHeight);
    const double width = windows[1].width, height = windows[1].height;
    const double scale =
        boxWidth > 0 && boxHeight > 0 ? std::min(boxWidth / width, boxHeight / height) : 1.0;
    *x = static_cast<int>(std::floor((cssX - (boxWidth - width * scale) / 2) / scale));
    *y = static_cast<int>(std::floor((cssY - (boxHeight - height * scale) / 2) / scale));
}

void deliverButton(int target, int button, int state, int x, int y) {
    deliver(target, &WebWindow::mouse, x, y, button, state);
}

void deliverNotches(int target, int notches, int x, int y) {
    for (int k = std::abs(notches); k > 0; --k) {
        deliver(target, &WebWindow::wheel, x, y, 0, notches > 0 ? 1 : -1);
    }
}

// GLUT's left, middle and right buttons are the page's 0, 1 and 2.
EM_BOOL onPointer(int type, const EmscriptenMouseEvent* event, void* /*data*/) {
    pointerOnCanvas = type != EMSCRIPTEN_EVENT_MOUSELEAVE;
    canvasPoint(event->targetX, event->targetY, &pointerX, &pointerY);
    const int button = event->button;
    if (type == EMSCRIPTEN_EVENT_MOUSEDOWN && button <= GLUT_RIGHT_BUTTON) {
        if (buttonsDown == 0) {
            pressedWindow = windowAt(pointerX, pointerY);
        }
        buttonsDown |= 1 << button;
        deliverButton(pressedWindow, button, GLUT_DOWN, pointerX, pointerY);
        // Not taken: a press gives the canvas the focus, and with it the keys.
        return EM_FALSE;
    }
    // The buttons the page says are down, its bits 1, 4, 2 being GLUT's left, middle, right.
    const int pageButtons = event->buttons;
    const int stillDown = (pageButtons & 1) | ((pageButtons & 4) >> 1) | ((pageButtons & 2) << 1);
    // A button let go off the canvas is let go when the pointer comes back.
    const int held =
        type == EMSCRIPTEN_EVENT_MOUSEUP ? buttonsDown & ~(1 << button) : buttonsDown & stillDown;
    for (int b = GLUT_LEFT_BUTTON; b <= GLUT_RIGHT_BUTTON; ++b) {
        if ((buttonsDown & ~held) & (1 << b)) {
            buttonsDown &= ~(1 << b);
            deliverButton(pressedWindow, b, GLUT_UP, pointerX, pointerY);
        }
    }
    if (type == EMSCRIPTEN_EVENT_MOUSEMOVE && buttonsDown != 0) {
        deliver(pressedWindow, &WebWindow::motion, pointerX, pointerY);
    }
    return EM_FALSE;
}

EM_BOOL onWheel(int /*type*/, const EmscriptenWheelEvent* event, void* /*data*/) {
    const double unit = event->deltaMode == DOM_DELTA_PIXEL  ? 1.0
                        : event->deltaMode == DOM_DELTA_LINE ? WHEEL_PIXELS_PER_LINE
                                                             : WHEEL_PIXELS_PER_NOTCH;
    // Scrolling up, away from the viewer, is a notch forward.
    const double pixels = std::clamp(-event->deltaY * unit, -1e6, 1e6);
    const int notches = takeSteps(wheelCarry, static_cast<int>(std::lround(pixels)),
                                  static_cast<int>(WHEEL_PIXELS_PER_NOTCH));
    deliverNotches(windowAt(pointerX, pointerY), notches, pointerX, pointerY);
    return EM_TRUE;
}

// The fingers on the canvas now, in canvas pixels; returns how many (two at most are read).
int fingersDown(int type, const EmscriptenTouchEvent* event, int (&x)[2], int (&y)[2]) {
    int count = 0;
    for (int k = 0; k < event->numTouches; ++k) {
        const EmscriptenTouchPoint& touch = event->touches[k];
        const bool lifted = touch.isChanged && (type == EMSCRIPTEN_EVENT_TOUCHEND ||
                                                type == EMSCRIPTEN_EVENT_TOUCHCANCEL);
        if (!lifted) {
            if (count < 2) {
                canvasPoint(touch.targetX, touch.targetY, &x[count], &y[count]);
            }
            ++count;
        }
    }
    return count;
}

EM_BOOL onTouch(int type, const EmscriptenTouchEvent* event, void* /*data*/) {
    int x[2] = {0, 0}, y[2] = {0, 0};
    const int fingers = fingersDown(type, event, x, y);
    const int midY = (y[0] + y[1]) / 2;
    const int spread = static_cast<int>(std::lround(std::hypot(x[1] - x[0], y[1] - y[0])));
    TouchGesture& g = gesture;
    if (g.fingers == 0 && fingers > 0) {
        // The first finger: a look begins, and it may yet be a tap.
        g = TouchGesture{};
        g.fingers = 1;
        g.startMs = emscripten_get_now();
        g.startX = x[0];
        g.startY = y[0];
        g.tap = true;
        pressedWindow = windowAt(x[0], y[0]);
        deliverButton(pressedWindow, GLUT_LEFT_BUTTON, GLUT_DOWN, x[0], y[0]);
    }
    if (g.fingers == 1 && fingers >= 2) {
        // A second finger ends the look; from now on the gesture walks.
        deliverButton(pressedWindow, GLUT_LEFT_BUTTON, GLUT_UP, x[0], y[0]);
        g.fingers = 2;
        g.tap = false;
        g.walkWindow = windowAt(x[0], midY);
        g.lastMidY = midY;
        g.lastSpread = spread;
    }
    if (g.fingers == 1 && fingers == 1) {
        g.tap = g.tap && std::abs(x[0] - g.startX) <= TAP_SLOP_PIXELS &&
                std::abs(y[0] - g.startY) <= TAP_SLOP_PIXELS;
        deliver(pressedWindow, &WebWindow::motion, x[0], y[0]);
    } else if (g.fingers == 2 && fingers == 2) {
        const int notches = takeSteps(g.walkCarry, (g.lastMidY - midY) + (spread - g.lastSpread),
                                      TOUCH_PIXELS_PER_NOTCH);
        g.lastMidY = midY;
        g.lastSpread = spread;
        deliverNotches(g.walkWindow, notches, x[0], midY);
    }
    if (fingers == 0 && g.fingers != 0) {
        if (g.fingers == 1) {
            deliverButton(pressedWindow, GLUT_LEFT_BUTTON, GLUT_UP, g.startX, g.startY);
            // Anywhere on the canvas, the help panel too: there is no key to miss there.
            if (g.tap && emscripten_get_now() - g.startMs < TAP_MS) {
                deliverKey(1, ' ', g.startX, g.startY);
            }
        }
        g.fingers = 0;
    }
    // Taken, so the page neither scrolls nor zooms, and no mouse events are made of it.
    return EM_TRUE;
}

// Whether the window is a subwindow of `ancestor`, at any depth.
bool isInside(int id, int ancestor) {
    for (int parent = windows[id].parent; parent != 0; parent = windows[parent].parent) {
        if (parent == ancestor) {
            return true;
        }
    }
    return false;
}

// One turn of GLUT's loop.
void runFrame() {
    // Behind the loading line the show waits, and the window that keeps its state on the
    // context (the scene view) draws in every frame.
    const bool hidden = framesRun < HIDDEN_FRAMES;
    if (hidden && home != 0) {
        windows[home].redisplay = true;
    }
    for (int id = 1; id <= windowCount; ++id) {
        WebWindow& window = windows[id];
        if (!window.shown) {
            window.shown = true;
            window.redisplay = true;
            makeCurrent(id);
            if (window.reshape != nullptr) {
                window.reshape(window.width, window.height);
            } else {
                glViewport(0, 0, window.width, window.height);
            }
        }
    }
    for (int id = 1; id <= windowCount; ++id) {
        WebWindow& window = windows[id];
        if (window.redisplay && window.display != nullptr) {
            window.redisplay = false;
            const int was = current;
            makeCurrent(id);
            window.display();
            makeCurrent(was);
            // Its picture covers its subwindows' regions: they draw again, after it (a window
            // is made after its parent, so its number is higher).
            for (int child = id + 1; child <= windowCount; ++child) {
                if (isInside(child, id)) {
                    windows[child].redisplay = true;
                }
            }
        }
    }
    if (!hidden && idle != nullptr && (idleLimit < 0 || idleCalls < idleLimit)) {
        ++idleCalls;
        idle();
    }
    if (++framesRun == HIDDEN_FRAMES) {
        showFirstPicture();
    }
}

void mainFramebufferSize(int* width, int* height) {
    *width = windows[1].width;
    *height = windows[1].height;
}

// The WebGL context of the canvas, made current, and gl4es started on it. The page makes the
// context first, with these same attributes, as it checks for WebGL; this takes that one up.
void createContext(int width, int height) {
    emscripten_set_canvas_element_size(CANVAS, width, height);
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_TRUE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_TRUE;
    attributes.majorVersion = 1;
    attributes.minorVersion = 0;
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

} // namespace

void windowViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    WebWindow& window = windows[onContext];
    window.viewport[0] = x;
    window.viewport[1] = y;
    window.viewport[2] = width;
    window.viewport[3] = height;
    placeWindow(window);
}

extern "C" {

// For the page: hold the show after this many idle calls (a negative number lets it run on),
// and how many there have been.
EMSCRIPTEN_KEEPALIVE void webHoldAfterIdleCalls(long calls) {
    idleLimit = calls;
}

EMSCRIPTEN_KEEPALIVE long webIdleCalls() {
    return idleCalls;
}

// For the page's buttons: a key as the top-level window gets it.
EMSCRIPTEN_KEEPALIVE void webKey(int character) {
    if (character > 0 && character < 256) {
        deliverKey(1, character, 0, 0);
    }
}

} // extern "C"

void glutInit(int* /*argc*/, char** /*argv*/) {}

void glutInitDisplayMode(unsigned int /*mode*/) {}

void glutInitWindowSize(int width, int height) {
    initialWidth = width;
    initialHeight = height;
}

void glutInitWindowPosition(int /*x*/, int /*y*/) {}

int glutCreateWindow(const char* title) {
    if (windowCount != 0) {
        return 0; // the page has one canvas
    }
    createContext(initialWidth, initialHeight);
    setDocumentTitle(title);
    return createWindow(0, 0, 0, initialWidth, initialHeight);
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

void glutMouseFunc(void (*callback)(int, int, int, int)) {
    windows[current].mouse = callback;
}

void glutMotionFunc(void (*callback)(int, int)) {
    windows[current].motion = callback;
}

void glutMouseWheelFunc(void (*callback)(int, int, int, int)) {
    windows[current].wheel = callback;
}

void glutFullScreenToggle() {
    toggleCanvasFullScreen();
}

void glutLeaveFullScreen() {
    leaveCanvasFullScreen();
}

void glutIdleFunc(void (*callback)()) {
    idle = callback;
}

void glutPostRedisplay() {
    windows[current].redisplay = true;
}

void glutPostWindowRedisplay(int id) {
    if (id >= 1 && id <= windowCount) {
        windows[id].redisplay = true;
    }
}

void glutSwapBuffers() {
    // The browser shows the canvas when the animation frame ends.
    gl4es_pre_swap();
    gl4es_post_swap();
}

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

void glutBitmapCharacter(void* font, int character) {
    if (font != GLUT_BITMAP_HELVETICA_12 || character < 1 || character >= 256) {
        return;
    }
    const SFG_Font& face = fgFontHelvetica12;
    const GLubyte* glyph = face.Characters[character];
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBitmap(glyph[0], face.Height, face.xorig, face.yorig, static_cast<float>(glyph[0]), 0.0f,
             glyph + 1);
    glPopClientAttrib();
}

void glutMainLoop() {
    home = current;
    onContext = home;
    glEnable(GL_SCISSOR_TEST);
    placeWindow(windows[home]);
    emscripten_set_keydown_callback(CANVAS, nullptr, EM_FALSE, onKeyDown);
    emscripten_set_mousemove_callback(CANVAS, nullptr, EM_FALSE, onPointer);
    emscripten_set_mouseenter_callback(CANVAS, nullptr, EM_FALSE, onPointer);
    emscripten_set_mouseleave_callback(CANVAS, nullptr, EM_FALSE, onPointer);
    emscripten_set_mousedown_callback(CANVAS, nullptr, EM_FALSE, onPointer);
    emscripten_set_mouseup_callback(CANVAS, nullptr, EM_FALSE, onPointer);
    emscripten_set_wheel_callback(CANVAS, nullptr, EM_FALSE, onWheel);
    emscripten_set_touchstart_callback(CANVAS, nullptr, EM_FALSE, onTouch);
    emscripten_set_touchmove_callback(CANVAS, nullptr, EM_FALSE, onTouch);
    emscripten_set_touchend_callback(CANVAS, nullptr, EM_FALSE, onTouch);
    emscripten_set_touchcancel_callback(CANVAS, nullptr, EM_FALSE, onTouch);
    // One turn per animation frame of the browser; this never returns.
    emscripten_set_main_loop(runFrame, 0, EM_TRUE);
}
