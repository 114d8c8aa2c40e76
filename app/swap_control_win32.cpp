#include "app/swap_control.h"

#include <windows.h>

#include <GL/gl.h>
#include <sstream>
#include <string>

namespace {

// Whether the space-separated extension list names the extension exactly.
bool hasExtension(const char* extensions, const std::string& name) {
    std::istringstream words(extensions == nullptr ? "" : extensions);
    std::string word;
    while (words >> word) {
        if (word == name) {
            return true;
        }
    }
    return false;
}

template <typename Function> Function lookUp(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

} // namespace

bool requestSwapInterval(int interval) {
    const HDC deviceContext = wglGetCurrentDC();
    if (wglGetCurrentContext() == nullptr || deviceContext == nullptr) {
        return false;
    }
    // The WGL extension list comes from WGL_EXT_extensions_string or WGL_ARB_extensions_string;
    // older drivers name WGL_EXT_swap_control in the GL list instead.
    using ExtensionsExt = const char*(WINAPI*)();
    using ExtensionsArb = const char*(WINAPI*)(HDC);
    const char* wglExtensions = nullptr;
    if (auto get = lookUp<ExtensionsArb>("wglGetExtensionsStringARB")) {
        wglExtensions = get(deviceContext);
    } else if (auto getExt = lookUp<ExtensionsExt>("wglGetExtensionsStringEXT")) {
        wglExtensions = getExt();
    }
    const char* glExtensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!hasExtension(wglExtensions, "WGL_EXT_swap_control") &&
        !hasExtension(glExtensions, "WGL_EXT_swap_control")) {
        return false;
    }
    using SwapIntervalExt = BOOL(WINAPI*)(int);
    auto set = lookUp<SwapIntervalExt>("wglSwapIntervalEXT");
    return set != nullptr && set(interval) == TRUE;
}
