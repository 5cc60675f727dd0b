#pragma once
// A hidden top-level window of the shell with its numbered timers, and the thread's message
// loop. The window never appears; other programs find it by its title.
//
// Supports: WM_TIMER by number, ending the loop with an exit code.
// Does not: painting, input.
#include <chrono>
#include <functional>
#include <string>

namespace quorlane {

class Win32MessageWindow {
public:
    explicit Win32MessageWindow(const std::string& title);
    ~Win32MessageWindow();
    Win32MessageWindow(const Win32MessageWindow&) = delete;
    Win32MessageWindow& operator=(const Win32MessageWindow&) = delete;

    // Called with the timer's number each time one fires.
    void onTimer(std::function<void(unsigned)> handler) { onTimer_ = std::move(handler); }
    void startTimer(unsigned number, std::chrono::milliseconds interval);
    void stopTimer(unsigned number);
    void* handle() const { return window_; }

    // Runs the thread's messages until quit() is called; returns its code.
    static int runLoop();
    static void quit(int exitCode);

    // For the window's procedure.
    void fireTimer(unsigned number);

private:
    void* window_ = nullptr;
    std::function<void(unsigned)> onTimer_;
};

}  // namespace quorlane
