#pragma once
// A hidden top-level window of the shell with its numbered timers, and the thread's message
// loop. The window never appears; other programs find it by its title.
//
// Supports: WM_TIMER by number, ending the loop with an exit code.
// Does not: painting, input.
#include <chrono>
#include <functional>
#include <string>

#include "shell/platform/win32/win32_window.h"

namespace quorlane {

class Win32MessageWindow : public Win32Window {
public:
    explicit Win32MessageWindow(const std::string& title);

    // Called with the timer's number each time one fires.
    void onTimer(std::function<void(unsigned)> handler) { onTimer_ = std::move(handler); }
    void startTimer(unsigned number, std::chrono::milliseconds interval);
    void stopTimer(unsigned number);

    // Runs the thread's messages until quit() is called; returns its code.
    static int runLoop();
    static void quit(int exitCode);

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void(unsigned)> onTimer_;
};

}  // namespace quorlane
