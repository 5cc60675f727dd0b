#pragma once
// The command line every Qt application of this program starts with. The windows it makes
// are children of X windows (a preview's host) or must be found on this X display by their
// titles, so Qt is held to X whatever platform the session prefers (a Wayland desktop sets
// QT_QPA_PLATFORM too).
//
// Supports: Qt on its xcb platform, whatever QT_QPA_PLATFORM says.
// Does not: Qt on Wayland, offscreen or other platforms for the real program.

namespace quorlane {

class QtOnXArguments {
public:
    explicit QtOnXArguments(const char* program);
    QtOnXArguments(const QtOnXArguments&) = delete;
    QtOnXArguments& operator=(const QtOnXArguments&) = delete;

    // Qt keeps both for the application's lifetime: this object must outlive it.
    int& argc() { return argc_; }
    char** argv() { return argv_; }

private:
    char platformOption_[10] = "-platform";
    char platformName_[4] = "xcb";
    int argc_ = 3;
    char* argv_[4];
};

}  // namespace quorlane
