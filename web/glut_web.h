// The page's GLUT, as its files share it: the windows as regions of the one canvas
// (glut_windows.cpp), the context (glut_context.cpp), the frame loop (glut_loop.cpp), the keys and
// mouse (dom_input.cpp) and touch (touch_input.cpp); and what the page decides for them (the
// page_*.cpp files).
#pragma once

#include <GL/gl.h>

constexpr const char* CANVAS = "#canvas";
constexpr int MAX_WINDOWS = 8;

struct WebWindow {
    int parent = 0;
    int x = 0, y = 0; // from the canvas's top-left corner, y down
    int width = 0, height = 0;
    void (*display)() = nullptr;
    void (*reshape)(int, int) = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    void (*special)(int, int, int) = nullptr;
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

// By window number; 0 is no window, 1 the top-level one, the whole canvas.
extern WebWindow windows[MAX_WINDOWS + 1];
extern int windowCount;
extern int current; // the window GLUT calls are about
// The window that keeps its state on the context (the scene view); 0 until the loop starts.
extern int homeWindow;

// The windows (glut_windows.cpp).
int createWindow(int parent, int x, int y, int width, int height);
void makeCurrent(int id);
// From now on the current window keeps its state on the context (homeWindow), and the others
// their own.
void keepStateOnContext();
// Whether the window is a subwindow of `ancestor`, at any depth.
bool isInside(int id, int ancestor);
// The deepest window whose region holds the point of the canvas.
int windowAt(int x, int y);
// The window under a point of the canvas (in its own pixels), and the point in that window's own
// pixels (from its top-left corner), as its mouse handler would get it.
int windowPoint(int canvasX, int canvasY, int* x, int* y);
// Input for the window, at a point of the canvas, to its handler (if it has one) with the window
// current.
void deliverKey(int target, int character, int x, int y);
void deliverSpecialKey(int target, int key, int x, int y);
void deliverButton(int target, int button, int state, int x, int y);
void deliverMotion(int target, int x, int y);
void deliverNotches(int target, int notches, int x, int y);

// The context and gl4es on it, for the canvas of this size (glut_context.cpp), and the title the
// program gave its top-level window.
void createContext(int width, int height);
const char* windowTitle();

// The frame loop (glut_loop.cpp), stopped when it had nothing to do, runs again.
void wakeLoop();

// A key of the page by its DOM name that GLUT calls special (an arrow, Home, End, Page Up or
// Down), with or without Shift, to the window's special handler; false for any other key.
bool deliverSpecialKeyNamed(int target, const char* key, bool shift, int x, int y);

// What the page decides (page_loop.cpp, page_input.cpp): which frames are drawn behind its
// loading line, the show held; whether the loop has an idle call to make (the program's, with
// `handler`, or one counted under a hold until the hold is reached); takeIdleCall, which counts
// the call when it may run and says whether it may; what a frame drawn, any input handed to a
// window and a tap on the canvas mean to it.
bool frameHidden(long frame);
bool idleCallDue(bool handler);
bool takeIdleCall();
void frameDrawn(long frame);
void inputDelivered();
void canvasTapped(int x, int y);
