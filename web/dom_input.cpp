// The page's keys and mouse: the canvas's DOM events as GLUT delivers them. Keys come from the
// canvas, when it has the focus, to the window under the pointer (the top-level one when the
// pointer is off the canvas). The mouse's buttons and motion go to the window under the pointer,
// and stay with it while a button is down; the wheel's scrolling, fine or not, comes in notches
// to the window under the wheel.
#include "controls/pointer_look.h"
#include "web/glut_web.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <emscripten/html5.h>

namespace {

bool pointerOnCanvas = false;
int pointerX = 0, pointerY = 0; // in the canvas's pixels

// The window that took a button press, and the buttons still down (bit n for GLUT button n).
int pressedWindow = 0;
int buttonsDown = 0;
int wheelCarry = 0; // scrolled pixels not yet a notch

// GLUT_ACTIVE_* of the key being delivered.
int keyModifiers = 0;

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
bool browserShortcut(const EmscriptenKeyboardEvent& event, int character) {
    const bool altGraph =
        event.ctrlKey && event.altKey && !event.metaKey && character >= ' ' && character != 127;
    return (event.ctrlKey || event.altKey || event.metaKey) && !altGraph;
}

EM_BOOL onKeyDown(int /*type*/, const EmscriptenKeyboardEvent* event, void* /*data*/) {
    // Shortcuts stay the browser's, and so do Tab and the keys that GLUT has no name for.
    const int character = keyCharacter(event->key);
    if (browserShortcut(*event, character)) {
        return EM_FALSE;
    }
    const int target = pointerOnCanvas ? windowAt(pointerX, pointerY) : 1;
    if (character < 0) {
        // The space and the special keys would scroll the page; the other keys' defaults stay.
        return deliverSpecialKeyNamed(target, event->key, event->shiftKey, pointerX, pointerY)
                   ? EM_TRUE
                   : EM_FALSE;
    }
    keyModifiers = event->shiftKey ? GLUT_ACTIVE_SHIFT : 0;
    deliverKey(target, character, pointerX, pointerY);
    keyModifiers = 0;
    return character == ' ' ? EM_TRUE : EM_FALSE;
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
        deliverMotion(pressedWindow, pointerX, pointerY);
    }
    return EM_FALSE;
}

// Only the vertical scrolling walks: a sideways swipe or a tilt of the wheel does nothing.
EM_BOOL onWheel(int /*type*/, const EmscriptenWheelEvent* event, void* /*data*/) {
    const double unit = event->deltaMode == DOM_DELTA_PIXEL  ? 1.0
                        : event->deltaMode == DOM_DELTA_LINE ? WHEEL_PIXELS_PER_LINE
                                                             : WHEEL_PIXELS_PER_NOTCH;
    // Scrolling up, away from the viewer, is a notch forward.
    const double pixels = std::clamp(-event->deltaY * unit, -1e6, 1e6);
    const int notches = takeSteps(wheelCarry, static_cast<int>(std::lround(pixels)),
                                  static_cast<int>(WHEEL_PIXELS_PER_NOTCH));
    // Where the wheel is: the mouse may not have moved over the canvas before it turned.
    int x = 0, y = 0;
    canvasPoint(event->mouse.targetX, event->mouse.targetY, &x, &y);
    deliverNotches(windowAt(x, y), notches, x, y);
    return EM_TRUE;
}

} // namespace

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

void listenToKeysAndMouse() {
    emscripten_set_keydown_callback(CANVAS, nullptr, EM_FALSE, onKeyDown);
    emscripten_set_mousemove_callback(CANVAS, nullptr, EM_FALSE, onPointer);
    emscripten_set_mouseenter_callback(CANVAS, nullptr, EM_FALSE, onPointer);
    emscripten_set_mouseleave_callback(CANVAS, nullptr, EM_FALSE, onPointer);
    emscripten_set_mousedown_callback(CANVAS, nullptr, EM_FALSE, onPointer);
    emscripten_set_mouseup_callback(CANVAS, nullptr, EM_FALSE, onPointer);
    emscripten_set_wheel_callback(CANVAS, nullptr, EM_FALSE, onWheel);
}
