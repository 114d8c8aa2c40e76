// The page's GLUT loop: the browser's animation frames drive it, and each delivers what GLUT's
// loop would: the first reshape of each window, the redisplays posted, then one idle call. With
// nothing posted and no idle call to make it stops asking for frames, as GLUT's loop then waits
// for events, and a redisplay posted or an idle handler set starts it again.
// The canvas keeps its picture between frames, so a window that does not redraw keeps what it
// drew, as a window on a desktop does; a window that redraws paints over its subwindows' regions
// too, so they draw again after it, in the same frame.
#include "web/glut_web.h"

#include <GL/freeglut.h>
#include <emscripten.h>
#include <emscripten/html5.h>

namespace {

void (*idle)() = nullptr;
long framesRun = 0;
bool resting = false; // the loop stopped itself, and no frame is asked for

bool redisplayWaiting() {
    for (int id = 1; id <= windowCount; ++id) {
        if (windows[id].redisplay) {
            return true;
        }
    }
    return false;
}

void reshapeNewWindows() {
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
}

void redisplayPosted() {
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
}

// One turn of GLUT's loop.
void runFrame() {
    // In a hidden frame the show waits, and the window that keeps its state on the context (the
    // scene view) draws.
    const bool hidden = frameHidden(framesRun);
    if (hidden) {
        windows[homeWindow].redisplay = true;
    }
    reshapeNewWindows();
    redisplayPosted();
    // Under a hold a call is counted even without a handler: paused, the program has none.
    if (!hidden && idleCallDue(idle != nullptr) && takeIdleCall() && idle != nullptr) {
        idle();
    }
    frameDrawn(framesRun++);
    if (!frameHidden(framesRun) && !redisplayWaiting() && !idleCallDue(idle != nullptr)) {
        resting = true;
        emscripten_pause_main_loop();
    }
}

// Lost graphics stop the loop from the page, for good: nothing may start it again.
bool graphicsLost() {
    return emscripten_is_webgl_context_lost(emscripten_webgl_get_current_context()) != 0;
}

} // namespace

void wakeLoop() {
    if (resting && !graphicsLost()) {
        resting = false;
        emscripten_resume_main_loop();
    }
}

void glutIdleFunc(void (*callback)()) {
    idle = callback;
    if (idle != nullptr) {
        wakeLoop();
    }
}

void glutMainLoop() {
    keepStateOnContext();
    // One turn per animation frame of the browser; this never returns.
    emscripten_set_main_loop(runFrame, 0, EM_TRUE);
}
