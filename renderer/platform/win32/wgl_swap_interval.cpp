#include <windows.h>

#include "renderer/core/swap_interval.h"

namespace quorlane {

void requestVsync() {
    // An extension function: present only where the driver offers it.
    using SwapInterval = BOOL(WINAPI*)(int);
    const PROC found = wglGetProcAddress("wglSwapIntervalEXT");
    if (found == nullptr) return;
    reinterpret_cast<SwapInterval>(reinterpret_cast<void (*)()>(found))(1);
}

}  // namespace quorlane
