#include "app/window_identity.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <cstring>
#include <initializer_list>
#include <string>

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

// UTF-8 to Latin-1; a character Latin-1 lacks (the dash of the title) becomes a hyphen.
std::string toLatin1(const char* utf8) {
    std::string text;
    for (const auto* at = reinterpret_cast<const unsigned char*>(utf8); *at != 0;) {
        unsigned int code = *at++;
        if (code >= 0xC0) {
            const int more = code >= 0xF0 ? 3 : code >= 0xE0 ? 2 : 1;
            code &= 0x3Fu >> more;
            for (int k = 0; k < more && (*at & 0xC0) == 0x80; ++k) {
                code = (code << 6) | (*at++ & 0x3Fu);
            }
        }
        text += code <= 0xFF ? static_cast<char>(code) : '-';
    }
    return text;
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
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    if (display == nullptr || window == None) {
        return;
    }
    // The old properties hold Latin-1; the toolkit's own call would store the UTF-8 bytes there
    // as they are and turn the dash into three wrong characters.
    std::string latin1 = toLatin1(title);
    XTextProperty property{};
    property.value = reinterpret_cast<unsigned char*>(latin1.data());
    property.encoding = XA_STRING;
    property.format = 8;
    property.nitems = latin1.size();
    XSetWMName(display, window, &property);
    XSetWMIconName(display, window, &property);
    setUtf8Title(display, window, title);
}
