#include "app/window_identity.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <cstring>
#include <initializer_list>

namespace {
// The instance and class a desktop entry's StartupWMClass names.
char INSTANCE_NAME[] = "cheerleaders";
char CLASS_NAME[] = "Cheerleaders";

// The toolkit writes its titles as Latin-1 text; these properties carry the UTF-8 that panels
// and window managers prefer.
void setUtf8Title(Display* display, Window window, const char* title) {
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const auto* text = reinterpret_cast<const unsigned char*>(title);
    const int length = static_cast<int>(std::strlen(title));
    for (const char* name : {"_NET_WM_NAME", "_NET_WM_ICON_NAME"}) {
        XChangeProperty(display, window, XInternAtom(display, name, False), utf8, 8,
                        PropModeReplace, text, length);
    }
    XFlush(display);
}
} // namespace

void nameMainWindow(const char* title) {
    // The toolkit keeps its X window to itself; the window is the current GL drawable. It is
    // already mapped, since the toolkit waits for that before it returns the window, so a
    // window manager that looked at it early sees the change announced as a property change.
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    if (display == nullptr || window == None) {
        return;
    }
    XClassHint classHint{INSTANCE_NAME, CLASS_NAME};
    XSetClassHint(display, window, &classHint);
    setUtf8Title(display, window, title);
}

void retitleMainWindow(const char* title) {
    glutSetWindowTitle(title);
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    if (display != nullptr && window != None) {
        setUtf8Title(display, window, title);
    }
}
