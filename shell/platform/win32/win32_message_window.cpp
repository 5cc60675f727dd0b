#include "shell/platform/win32/win32_message_window.h"

#include <windows.h>

namespace quorlane {

namespace {

constexpr char kClassName[] = "Vantorel_S";

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32MessageWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_TIMER && self != nullptr) {
        self->fireTimer(static_cast<unsigned>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

Win32MessageWindow::Win32MessageWindow(const std::string& title) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // fails harmlessly when a second window registers it again
    // Not a child and not message-only: FindWindowA sees only top-level windows.
    const HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, title.c_str(), WS_POPUP, 0, 0,
                                        1, 1, nullptr, nullptr, instance, nullptr);
    if (window != nullptr)
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = window;
}

Win32MessageWindow::~Win32MessageWindow() {
    if (window_ != nullptr) DestroyWindow(static_cast<HWND>(window_));
}

void Win32MessageWindow::fireTimer(unsigned number) {
    if (onTimer_) onTimer_(number);
}

void Win32MessageWindow::startTimer(unsigned number, std::chrono::milliseconds interval) {
    if (window_ != nullptr) {
        SetTimer(static_cast<HWND>(window_), number, static_cast<UINT>(interval.count()), nullptr);
    }
}

void Win32MessageWindow::stopTimer(unsigned number) {
    if (window_ != nullptr) KillTimer(static_cast<HWND>(window_), number);
}

int Win32MessageWindow::runLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void Win32MessageWindow::quit(int exitCode) { PostQuitMessage(exitCode); }

}  // namespace quorlane
