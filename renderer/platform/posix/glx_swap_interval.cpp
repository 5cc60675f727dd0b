#include <GL/glx.h>

#include <cstring>

#include "renderer/core/swap_interval.h"

namespace quorlane {

namespace {

bool hasGlxExtension(Display* display, const char* name) {
    const char* all = glXQueryExtensionsString(display, DefaultScreen(display));
    if (all == nullptr) return false;
    const size_t length = std::strlen(name);
    for (const char* p = std::strstr(all, name); p != nullptr; p = std::strstr(p + 1, name)) {
        const bool starts = p == all || p[-1] == ' ';
        const bool ends = p[length] == '\0' || p[length] == ' ';
        if (starts && ends) return true;
    }
    return false;
}

}  // namespace

void requestVsync() {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == 0) return;
    auto lookUp = [](const char* name) {
        return glXGetProcAddress(reinterpret_cast<const GLubyte*>(name));
    };

    if (hasGlxExtension(display, "GLX_EXT_swap_control")) {
        using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
        if (auto set = reinterpret_cast<SwapIntervalExt>(lookUp("glXSwapIntervalEXT"))) {
            set(display, drawable, 1);
            return;
        }
    }
    if (hasGlxExtension(display, "GLX_MESA_swap_control")) {
        using SwapIntervalMesa = int (*)(unsigned);
        if (auto set = reinterpret_cast<SwapIntervalMesa>(lookUp("glXSwapIntervalMESA"))) {
            set(1);
            return;
        }
    }
    if (hasGlxExtension(display, "GLX_SGI_swap_control")) {
        using SwapIntervalSgi = int (*)(int);
        if (auto set = reinterpret_cast<SwapIntervalSgi>(lookUp("glXSwapIntervalSGI"))) set(1);
    }
}

}  // namespace quorlane
