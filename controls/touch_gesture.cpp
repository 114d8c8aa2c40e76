#include "controls/touch_gesture.h"

#include "controls/pointer_look.h"

#include <cmath>
#include <cstdlib>
#include <iterator>

namespace {
void add(TouchReport& report, TouchActionKind kind, int x, int y, int count = 0) {
    if (report.actionCount < static_cast<int>(std::size(report.actions))) {
        report.actions[report.actionCount++] = {kind, x, y, count};
    }
}

int indexOf(const TouchGesture& gesture, long id) {
    for (int k = 0; k < gesture.fingerCount; ++k) {
        if (gesture.fingers[k].id == id) {
            return k;
        }
    }
    return -1;
}

int midY(const TouchGesture& gesture) {
    return (gesture.fingers[0].y + gesture.fingers[1].y) / 2;
}

int spread(const TouchGesture& gesture) {
    const Finger& a = gesture.fingers[0];
    const Finger& b = gesture.fingers[1];
    return static_cast<int>(std::lround(std::hypot(b.x - a.x, b.y - a.y)));
}

// The walk measured afresh from the first two fingers, as they are now: a finger that joins or
// leaves the pair moves nobody, so it walks nowhere.
void measureFrom(TouchGesture& gesture) {
    gesture.lastMidY = midY(gesture);
    gesture.lastSpread = spread(gesture);
}

void land(TouchGesture& gesture, const Finger& finger, double ms, TouchReport& report) {
    if (indexOf(gesture, finger.id) >= 0 || gesture.fingerCount == MAX_FINGERS) {
        return;
    }
    if (gesture.fingerCount == 0) {
        // The first finger: a look begins, and it may yet be a tap.
        gesture = TouchGesture{};
        gesture.tap = true;
        gesture.startMs = ms;
        gesture.startX = finger.x;
        gesture.startY = finger.y;
        gesture.fingers[gesture.fingerCount++] = finger;
        add(report, TouchActionKind::ButtonDown, finger.x, finger.y);
        return;
    }
    gesture.fingers[gesture.fingerCount++] = finger;
    if (!gesture.walking) {
        // A second finger ends the look; from now on the gesture walks.
        const Finger& look = gesture.fingers[0];
        add(report, TouchActionKind::ButtonUp, look.x, look.y);
        gesture.walking = true;
        gesture.tap = false;
        gesture.walkX = look.x;
        gesture.walkY = midY(gesture);
        measureFrom(gesture);
    } else if (gesture.fingerCount == 2) {
        measureFrom(gesture);
    }
}

void lift(TouchGesture& gesture, long id, double ms, TouchReport& report) {
    const int k = indexOf(gesture, id);
    if (k < 0) {
        return;
    }
    const Finger finger = gesture.fingers[k];
    for (int next = k + 1; next < gesture.fingerCount; ++next) {
        gesture.fingers[next - 1] = gesture.fingers[next];
    }
    --gesture.fingerCount;
    if (!gesture.walking) {
        add(report, TouchActionKind::ButtonUp, finger.x, finger.y);
        if (gesture.tap && ms - gesture.startMs < TAP_MS) {
            add(report, TouchActionKind::Tap, gesture.startX, gesture.startY);
        }
    } else if (gesture.fingerCount >= 2 && k < 2) {
        measureFrom(gesture);
    }
    if (gesture.fingerCount == 0) {
        gesture = TouchGesture{};
    }
}

void move(TouchGesture& gesture, const Finger* changed, int count, TouchReport& report) {
    bool looked = false;
    for (int c = 0; c < count; ++c) {
        const int k = indexOf(gesture, changed[c].id);
        if (k >= 0) {
            gesture.fingers[k] = changed[c];
            looked = looked || k == 0;
        }
    }
    if (!gesture.walking && gesture.fingerCount == 1 && looked) {
        const Finger& look = gesture.fingers[0];
        gesture.tap = gesture.tap && std::abs(look.x - gesture.startX) <= TAP_SLOP_PIXELS &&
                      std::abs(look.y - gesture.startY) <= TAP_SLOP_PIXELS;
        add(report, TouchActionKind::Motion, look.x, look.y);
    } else if (gesture.walking && gesture.fingerCount >= 2) {
        const int nowMidY = midY(gesture);
        const int nowSpread = spread(gesture);
        const int notches = takeSteps(
            gesture.walkCarry, (gesture.lastMidY - nowMidY) + (nowSpread - gesture.lastSpread),
            TOUCH_PIXELS_PER_NOTCH);
        gesture.lastMidY = nowMidY;
        gesture.lastSpread = nowSpread;
        if (notches != 0) {
            add(report, TouchActionKind::Notches, gesture.walkX, gesture.walkY, notches);
        }
    }
}
} // namespace

TouchReport applyTouch(TouchGesture& gesture, TouchPhase phase, const Finger* changed, int count,
                       double ms) {
    TouchReport report{};
    switch (phase) {
    case TouchPhase::Start:
        for (int c = 0; c < count; ++c) {
            land(gesture, changed[c], ms, report);
        }
        break;
    case TouchPhase::Move:
        move(gesture, changed, count, report);
        break;
    case TouchPhase::End:
        for (int c = 0; c < count; ++c) {
            lift(gesture, changed[c].id, ms, report);
        }
        break;
    case TouchPhase::Cancel:
        // A look let go where it was; nothing more, whatever the touch's length.
        if (gesture.fingerCount > 0 && !gesture.walking) {
            add(report, TouchActionKind::ButtonUp, gesture.fingers[0].x, gesture.fingers[0].y);
        }
        gesture = TouchGesture{};
        break;
    }
    return report;
}
