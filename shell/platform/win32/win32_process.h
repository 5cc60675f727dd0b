#pragma once
// The renderer started by path with CreateProcess, in the shell's folder and environment.
//
// Supports: start by path with no arguments, a variable set or removed for it, its end and
//   exit code, ending it.
// Does not: arguments, ending what it started in turn (it starts nothing).
#include <string>

namespace quorlane {

class Win32Process {
public:
    Win32Process() = default;
    Win32Process(const Win32Process&) = delete;
    Win32Process& operator=(const Win32Process&) = delete;
    ~Win32Process();

    // environment: "NAME=value" sets a variable for it, a bare "NAME" removes it. False (with
    // error() the system's code) when it could not be started.
    bool start(const std::string& program, const std::string& environment = {});
    unsigned long error() const { return error_; }
    // True once it has ended, or when it never started.
    bool ended();
    // Its exit code once ended; -1 before, or when it never started.
    long exitCode() const { return exitCode_; }
    // Ended with exit code 0: a renderer's own end on Escape. Any other end is a failure.
    bool endedNormally() { return ended() && exitCode_ == 0; }
    // Ends it if it still runs, after grace for it to end itself.
    void end(unsigned graceMilliseconds);

private:
    void* process_ = nullptr;
    unsigned long error_ = 0;
    long exitCode_ = -1;
};

}  // namespace quorlane
