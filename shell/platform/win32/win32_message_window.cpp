#include "shell/platform/win32/win32_message_window.h"

namespace quorlane {

Win32MessageWindow::Win32MessageWindow(const std::string& title) {
    Win32WindowClass hiddenClass;
    hiddenClass.name = "Vantorel_S";
    // Not a child and not message-only: FindWindowA sees only top-level windows.
    create(hiddenClass, WS_EX_TOOLWINDOW, title.c_str(), WS_POPUP, {0, 0, 1, 1}, nullptr);
}

LRESULT Win32MessageWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (onTimer_) onTimer_(static_cast<unsigned>(wParam));
        return 0;
    }
    return Win32Window::handle(message, wParam, lParam);
}

void Win32MessageWindow::startTimer(unsigned number, std::chrono::milliseconds interval) {
    if (window() != nullptr) {
        SetTimer(window(), number, static_cast<UINT>(interval.count()), nullptr);
    }
}

void Win32MessageWindow::stopTimer(unsigned number) {
    if (window() != nullptr) KillTimer(window(), number);
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
