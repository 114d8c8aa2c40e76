// The page's keys and mouse as GLUT delivers them: the page's script turns the canvas's DOM events
// into plain records in the canvas's own pixels (web/cheerleaders_input.js), which come here by a
// direct call or, where the program runs in a worker, by a message. Keys come from the canvas,
// when it has the focus, to the window under the pointer (the top-level one when the pointer is
// off the canvas). The mouse's buttons and motion go to the window under the pointer, and stay
// with it while a button is down; the wheel's scrolling, fine or not, comes in notches to the
// window under the wheel.
#include "controls/pointer_look.h"
#include "web/glut_web.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <emscripten.h>

namespace {

bool pointerOnCanvas = false;
int pointerX = 0, pointerY = 0; // in the canvas's pixels

// The window that took a button press, and the buttons still down (bit n for GLUT button n).
int pressedWindow = 0;
int buttonsDown = 0;
int wheelCarry = 0; // scrolled pixels not yet a notch

// GLUT_ACTIVE_* of the key being delivered.
int keyModifiers = 0;

// The pointer's records, as the page's script numbers them.
enum PointerKind { MOVE = 0, ENTER = 1, LEAVE = 2, DOWN = 3, UP = 4 };
// The wheel's units, as the DOM numbers them.
enum WheelUnit { PIXELS = 0, LINES = 1 };

// What the wheel scrolls by for a notch: pixels, and lines as another browser counts them.
constexpr double WHEEL_PIXELS_PER_NOTCH = 100;
constexpr double WHEEL_PIXELS_PER_LINE = WHEEL_PIXELS_PER_NOTCH / 3;

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

// GLUT's special key for a key of the page that makes no character, or -1.
int specialKey(const char* key) {
    const struct {
        const char* name;
        int special;
    } named[] = {
        {"ArrowLeft", GLUT_KEY_LEFT}, {"ArrowRight", GLUT_KEY_RIGHT},   {"ArrowUp", GLUT_KEY_UP},
        {"ArrowDown", GLUT_KEY_DOWN}, {"Home", GLUT_KEY_HOME},          {"End", GLUT_KEY_END},
        {"PageUp", GLUT_KEY_PAGE_UP}, {"PageDown", GLUT_KEY_PAGE_DOWN},
    };
    for (const auto& n : named) {
        if (std::strcmp(key, n.name) == 0) {
            return n.special;
        }
    }
    return -1;
}

// Whether the key is the browser's and not the program's: shortcuts with Ctrl, Alt or Meta. A
// character typed with AltGr is the program's: a browser reports AltGr as Ctrl and Alt together
// (or as the AltGraph modifier alone, which sets neither), and the key is the character typed.
bool browserShortcut(bool ctrl, bool alt, bool meta, int character) {
    const bool altGraph = ctrl && alt && !meta && character >= ' ' && character != 127;
    return (ctrl || alt || meta) && !altGraph;
}

} // namespace

extern "C" {

// A key pressed on the canvas, by its DOM name, with its modifiers: whether the program took it
// (the page then keeps the browser from scrolling for it).
EMSCRIPTEN_KEEPALIVE int webKeyDown(const char* key, int shift, int ctrl, int alt, int meta) {
    // Shortcuts stay the browser's, and so do Tab and the keys that GLUT has no name for.
    const int character = keyCharacter(key);
    if (browserShortcut(ctrl != 0, alt != 0, meta != 0, character)) {
        return 0;
    }
    const int target = pointerOnCanvas ? windowAt(pointerX, pointerY) : 1;
    if (character < 0) {
        // The space and the special keys would scroll the page; the other keys' defaults stay.
        return deliverSpecialKeyNamed(target, key, shift != 0, pointerX, pointerY) ? 1 : 0;
    }
    keyModifiers = shift != 0 ? GLUT_ACTIVE_SHIFT : 0;
    deliverKey(target, character, pointerX, pointerY);
    keyModifiers = 0;
    return character == ' ' ? 1 : 0;
}

// The mouse at a point of the canvas: `kind` a PointerKind, `button` the page's button pressed or
// let go (GLUT's left, middle and right are the page's 0, 1 and 2), `buttons` the page's buttons
// down.
EMSCRIPTEN_KEEPALIVE void webMouse(int kind, int x, int y, int button, int buttons) {
    pointerOnCanvas = kind != LEAVE;
    pointerX = x;
    pointerY = y;
    if (kind == DOWN && button >= 0 && button <= GLUT_RIGHT_BUTTON) {
        if (buttonsDown == 0) {
            pressedWindow = windowAt(pointerX, pointerY);
        }
        buttonsDown |= 1 << button;
        deliverButton(pressedWindow, button, GLUT_DOWN, pointerX, pointerY);
        return;
    }
    // The buttons the page says are down, its bits 1, 4, 2 being GLUT's left, middle, right.
    const int stillDown = (buttons & 1) | ((buttons & 4) >> 1) | ((buttons & 2) << 1);
    // A button let go off the canvas is let go when the pointer comes back.
    const int held = kind == UP && button >= 0 && button < 31 ? buttonsDown & ~(1 << button)
                                                              : buttonsDown & stillDown;
    for (int b = GLUT_LEFT_BUTTON; b <= GLUT_RIGHT_BUTTON; ++b) {
        if ((buttonsDown & ~held) & (1 << b)) {
            buttonsDown &= ~(1 << b);
            deliverButton(pressedWindow, b, GLUT_UP, pointerX, pointerY);
        }
    }
    if (kind == MOVE && buttonsDown != 0) {
        deliverMotion(pressedWindow, pointerX, pointerY);
    }
}

// The wheel turned at a point of the canvas (the mouse may not have moved over the canvas before
// it turned): only the vertical scrolling walks; a sideways swipe or a tilt of the wheel does
// nothing.
EMSCRIPTEN_KEEPALIVE void webWheel(double deltaY, int unit, int x, int y) {
    const double size = unit == PIXELS ? 1.0
                        : unit == LINES ? WHEEL_PIXELS_PER_LINE
                                        : WHEEL_PIXELS_PER_NOTCH;
    // Scrolling up, away from the viewer, is a notch forward.
    const double pixels = std::isfinite(deltaY) ? std::clamp(-deltaY * size, -1e6, 1e6) : 0.0;
    const int notches = takeSteps(wheelCarry, static_cast<int>(std::lround(pixels)),
                                  static_cast<int>(WHEEL_PIXELS_PER_NOTCH));
    deliverNotches(windowAt(x, y), notches, x, y);
}

} // extern "C"

bool deliverSpecialKeyNamed(int target, const char* key, bool shift, int x, int y) {
    const int special = specialKey(key);
    if (special < 0) {
        return false;
    }
    keyModifiers = shift ? GLUT_ACTIVE_SHIFT : 0;
    deliverSpecialKey(target, special, x, y);
    keyModifiers = 0;
    return true;
}

// As GLUT has it: Shift in a key's handler, nothing elsewhere.
int glutGetModifiers() {
    return keyModifiers;
}
