#include "app/swap_control.h"

#include <GL/glx.h>
#include <cstring>

namespace {

// Whether the space-separated extension list names the extension exactly.
bool hasExtension(const char* extensions, const char* name) {
    if (extensions == nullptr) {
        return false;
    }
    const size_t length = std::strlen(name);
    for (const char* p = extensions; (p = std::strstr(p, name)) != nullptr; p += length) {
        const bool startsWord = p == extensions || p[-1] == ' ';
        const bool endsWord = p[length] == ' ' || p[length] == '\0';
        if (startsWord && endsWord) {
            return true;
        }
    }
    return false;
}

template <typename Function> Function lookUp(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

} // namespace

bool requestSwapInterval(int interval) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == 0) {
        return false;
    }
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (hasExtension(extensions, "GLX_EXT_swap_control")) {
        using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
        if (auto set = lookUp<SwapIntervalExt>("glXSwapIntervalEXT")) {
            set(display, drawable, interval);
            return true;
        }
    }
    if (hasExtension(extensions, "GLX_MESA_swap_control")) {
        using SwapIntervalMesa = int (*)(unsigned int);
        if (auto set = lookUp<SwapIntervalMesa>("glXSwapIntervalMESA")) {
            return set(static_cast<unsigned int>(interval)) == 0;
        }
    }
    if (hasExtension(extensions, "GLX_SGI_swap_control")) {
        using SwapIntervalSgi = int (*)(int);
        if (auto set = lookUp<SwapIntervalSgi>("glXSwapIntervalSGI")) {
            return set(interval) == 0;
        }
    }
    return false;
}
