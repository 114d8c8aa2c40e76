// The page's touch: the canvas's touch events, each finger by its identifier, handed to the
// gesture (controls/touch_gesture) and its actions to the windows as GLUT's mouse. A look goes to
// the window where it began, two fingers walk the window where their walk began, and a tap is
// the page's (page_input.cpp).
#include "controls/touch_gesture.h"
#include "web/glut_web.h"

#include <GL/freeglut.h>
#include <emscripten.h>
#include <emscripten/html5.h>

namespace {

TouchGesture gesture;
int lookWindow = 0; // the window the look began in

TouchPhase phaseOf(int type) {
    switch (type) {
    case EMSCRIPTEN_EVENT_TOUCHSTART:
        return TouchPhase::Start;
    case EMSCRIPTEN_EVENT_TOUCHEND:
        return TouchPhase::End;
    case EMSCRIPTEN_EVENT_TOUCHCANCEL:
        return TouchPhase::Cancel;
    default:
        return TouchPhase::Move;
    }
}

EM_BOOL onTouch(int type, const EmscriptenTouchEvent* event, void* /*data*/) {
    // The event lists every finger down; those it is about are marked.
    Finger changed[sizeof event->touches / sizeof event->touches[0]];
    int count = 0;
    for (int k = 0; k < event->numTouches; ++k) {
        const EmscriptenTouchPoint& touch = event->touches[k];
        if (touch.isChanged) {
            Finger& finger = changed[count++];
            finger.id = touch.identifier;
            canvasPoint(touch.targetX, touch.targetY, &finger.x, &finger.y);
        }
    }
    const TouchReport report =
        applyTouch(gesture, phaseOf(type), changed, count, emscripten_get_now());
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
    // Taken, so the page neither scrolls nor zooms, and no mouse events are made of it.
    return EM_TRUE;
}

} // namespace

void listenToTouch() {
    emscripten_set_touchstart_callback(CANVAS, nullptr, EM_FALSE, onTouch);
    emscripten_set_touchmove_callback(CANVAS, nullptr, EM_FALSE, onTouch);
    emscripten_set_touchend_callback(CANVAS, nullptr, EM_FALSE, onTouch);
    emscripten_set_touchcancel_callback(CANVAS, nullptr, EM_FALSE, onTouch);
}
