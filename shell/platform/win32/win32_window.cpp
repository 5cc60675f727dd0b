#include "shell/platform/win32/win32_window.h"

namespace quorlane {

Win32Window::~Win32Window() { destroy(); }

bool Win32Window::create(const Win32WindowClass& windowClass, DWORD exStyle, const char* title,
                         DWORD style, RECT area, HWND parent) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA registered = {};
    registered.style = windowClass.style;
    registered.lpfnWndProc = &Win32Window::procedure;
    registered.hInstance = instance;
    registered.hCursor = windowClass.cursor;
    registered.hIcon = windowClass.icon;
    registered.hbrBackground = windowClass.background;
    registered.lpszClassName = windowClass.name;
    RegisterClassA(&registered);  // fails harmlessly when already registered
    // window_ is set at WM_NCCREATE, before the messages of the making arrive.
    CreateWindowExA(exStyle, windowClass.name, title, style, area.left, area.top,
                    area.right - area.left, area.bottom - area.top, parent, nullptr, instance,
                    this);
    return window_ != nullptr;
}

void Win32Window::destroy() {
    if (window_ == nullptr) return;
    const HWND window = window_;
    window_ = nullptr;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window_, message, wParam, lParam);
}

LRESULT CALLBACK Win32Window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self != nullptr) {
            self->window_ = window;
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    const LRESULT result = self->handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Destroyed from outside (its parent went, or it ended itself): nothing left to destroy.
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    return result;
}

int windowDpi(HWND window) {
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    const auto call = reinterpret_cast<GetDpiForWindowCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (call != nullptr) {
        if (const UINT dpi = call(window); dpi >= 96) return int(dpi);
    }
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi >= 96 ? dpi : 96;
}

}  // namespace quorlane
