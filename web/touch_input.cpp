// The page's touch: the canvas's touch events, as the page's script hands them over (the fingers
// an event is about, each by its identifier at a point of the canvas, then the event), handed to
// the gesture (controls/touch_gesture) and its actions to the windows as GLUT's mouse. A look goes to
// the window where it began, two fingers walk the window where their walk began, and a tap is
// the page's (page_input.cpp).
#include "controls/touch_gesture.h"
#include "web/glut_web.h"

#include <GL/freeglut.h>
#include <emscripten.h>

namespace {

TouchGesture gesture;
int lookWindow = 0; // the window the look began in

// The fingers of the event being handed over.
constexpr int FINGERS_HANDED = 32;
Finger changed[FINGERS_HANDED];
int count = 0;

} // namespace

extern "C" {

// A finger the next event is about, at a point of the canvas; those past the first 32 are left out.
EMSCRIPTEN_KEEPALIVE void webTouchFinger(int id, int x, int y) {
    if (count < FINGERS_HANDED) {
        changed[count++] = Finger{id, x, y};
    }
}

// The event (0 start, 1 move, 2 end, 3 cancel, as TouchPhase) about the fingers handed over, at
// the page's time in milliseconds.
EMSCRIPTEN_KEEPALIVE void webTouch(int phase, double time) {
    const TouchPhase which = phase == 0   ? TouchPhase::Start
                             : phase == 2 ? TouchPhase::End
                             : phase == 3 ? TouchPhase::Cancel
                                          : TouchPhase::Move;
    const int fingers = count;
    count = 0;
    const TouchReport report =
        applyTouch(gesture, which, changed, fingers, time);
    for (int k = 0; k < report.actionCount; ++k) {
        const TouchAction& action = report.actions[k];
        switch (action.kind) {
        case TouchActionKind::ButtonDown:
            lookWindow = windowAt(action.x, action.y);
            deliverButton(lookWindow, GLUT_LEFT_BUTTON, GLUT_DOWN, action.x, action.y);
            break;
        case TouchActionKind::ButtonUp:
            deliverButton(lookWindow, GLUT_LEFT_BUTTON, GLUT_UP, action.x, action.y);
            break;
        case TouchActionKind::Motion:
            deliverMotion(lookWindow, action.x, action.y);
            break;
        case TouchActionKind::Notches:
            deliverNotches(windowAt(action.x, action.y), action.count, action.x, action.y);
            break;
        case TouchActionKind::Tap:
            canvasTapped(action.x, action.y);
            break;
        }
    }
}

} // extern "C"
