#include "app/window_identity.h"

#include <string>
#include <windows.h>

// Windows ties a running program to its shortcut by the executable itself, and the toolkit's
// window title is already Unicode there: nothing to add.
void nameMainWindow(const char* /*title*/) {}

// The toolkit hands a title to the narrow-character call, which reads it in the ANSI code page;
// the wide call gets the UTF-8 converted, so the dash and the times sign show as themselves.
void retitleMainWindow(const char* title) {
    const HWND window = WindowFromDC(wglGetCurrentDC());
    const int length = MultiByteToWideChar(CP_UTF8, 0, title, -1, nullptr, 0);
    if (window == nullptr || length <= 0) {
        return;
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, title, -1, wide.data(), length);
    SetWindowTextW(window, wide.c_str());
}
