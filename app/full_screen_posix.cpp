#include "app/full_screen.h"

#include <GL/glut.h>
#include <GL/glx.h>
#include <X11/Xatom.h>

namespace {
// Full screen made here, where no window manager takes the request, and the place it left.
bool coveringScreen = false;
int savedX = 0, savedY = 0, savedWidth = 0, savedHeight = 0;

// What a window asks of the window manager for its _NET_WM_STATE.
enum StateChange : long { Remove = 0, Toggle = 2 };

// Whether a window manager runs that puts a window in full screen when asked.
bool windowManagerDoesFullScreen(Display* display, Atom fullScreen) {
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, DefaultRootWindow(display), supported, 0, 1024, False, XA_ATOM,
                           &type, &format, &count, &remaining, &data) == Success &&
        type == XA_ATOM && format == 32 && data != nullptr) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long k = 0; k < count && !found; ++k) {
            found = atoms[k] == fullScreen;
        }
    }
    if (data != nullptr) {
        XFree(data);
    }
    return found;
}

// The toolkit's own toggle asks this for whichever window is current when it gets round to it,
// which after a frame is the scene view, a subwindow the window manager does not manage; so the
// request is made here, for the window that is current now.
void askWindowManager(Display* display, Atom fullScreen, StateChange change) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = glXGetCurrentDrawable();
    event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = change;
    event.xclient.data.l[1] = static_cast<long>(fullScreen);
    event.xclient.data.l[3] = 1; // from an application
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

// Without a window manager the window covers the screen itself, and goes back.
void coverScreen(bool cover) {
    coveringScreen = cover;
    if (cover) {
        savedX = glutGet(GLUT_WINDOW_X);
        savedY = glutGet(GLUT_WINDOW_Y);
        savedWidth = glutGet(GLUT_WINDOW_WIDTH);
        savedHeight = glutGet(GLUT_WINDOW_HEIGHT);
        glutPositionWindow(0, 0);
        glutReshapeWindow(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
    } else {
        glutPositionWindow(savedX, savedY);
        glutReshapeWindow(savedWidth, savedHeight);
    }
}

void changeFullScreen(StateChange change) {
    Display* display = glXGetCurrentDisplay();
    if (display == nullptr || glXGetCurrentDrawable() == None) {
        return;
    }
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    if (coveringScreen) {
        coverScreen(false);
    } else if (windowManagerDoesFullScreen(display, fullScreen)) {
        askWindowManager(display, fullScreen, change);
    } else if (change == Toggle) {
        coverScreen(true);
    }
}
} // namespace

void toggleWindowFullScreen() {
    changeFullScreen(Toggle);
}

void leaveWindowFullScreen() {
    changeFullScreen(Remove);
}
