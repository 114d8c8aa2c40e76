// Touch gesture: what the fingers on the scene do, from the first one down to the last one up.
// One finger is the mouse's left button: it looks around, and a short still touch is a tap. Two
// fingers walk, moved up or apart forward, down or together back. Pure logic on points in the
// canvas's pixels; the page's touch events feed it and hand its actions to the windows.
#pragma once

// Fingers are followed by the identifier the browser gives each one; more than this many at
// once are not followed.
constexpr int MAX_FINGERS = 10;
// Two fingers walk a notch for this many pixels of moving up or spreading.
constexpr int TOUCH_PIXELS_PER_NOTCH = 40;
// A tap is a touch shorter than this that stays this close to where it began.
constexpr double TAP_MS = 300;
constexpr int TAP_SLOP_PIXELS = 10;

struct Finger {
    long id;
    int x, y;
};

enum class TouchPhase {
    Start,  // the points landed
    Move,   // the points moved
    End,    // the points lifted
    Cancel, // the browser took the touch away: the gesture ends, and is no tap
};

enum class TouchActionKind {
    ButtonDown, // the left button, at the point
    ButtonUp,
    Motion,  // with the button down
    Notches, // count notches of the wheel, positive forward, for the window at the point
    Tap,     // at the point where the touch began
};

struct TouchAction {
    TouchActionKind kind;
    int x, y;
    int count; // Notches only
};

// What one touch event did, in order.
struct TouchReport {
    TouchAction actions[8];
    int actionCount;
};

// One gesture. Its fingers are in the order they landed; the first two walk.
struct TouchGesture {
    Finger fingers[MAX_FINGERS];
    int fingerCount;
    bool walking;   // two fingers have been down: no look, no tap, until all are up
    bool tap;       // one finger only, and still
    double startMs; // when the first finger landed
    int startX, startY;
    int walkX, walkY;         // where the walk began: its notches go to the window there
    int lastMidY, lastSpread; // of the first two fingers, when last measured
    int walkCarry;
};

// The changed points of one browser touch event, at a time in milliseconds.
TouchReport applyTouch(TouchGesture& gesture, TouchPhase phase, const Finger* changed, int count,
                       double ms);
