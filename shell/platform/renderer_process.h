#pragma once
// The renderer runs as a separate program, started by path with no arguments in the
// shell's working folder and environment. The shell only watches it and reaps it: it
// never signals it. The kernel ends it (SIGTERM) if the shell itself goes away first, so a
// show never leaves a renderer running behind it.
#include <string>
#include <sys/types.h>

namespace quorlane {

class RendererProcess {
public:
    // Starts the program; false when it could not be started.
    bool start(const std::string& program);
    // True once the process has ended (it is reaped here, so no zombie stays) or when it
    // never started.
    bool ended();
    // Exit status of an ended process (as waitpid gives it); -1 before that.
    int status() const { return status_; }
    // A descriptor that becomes readable when the process ends (a pidfd), or -1 where the
    // kernel has none; owned by this object.
    int endNotifier() const { return pidfd_; }
    ~RendererProcess();

private:
    pid_t pid_ = -1;
    bool ended_ = true;
    int status_ = -1;
    int pidfd_ = -1;
};

// The folder of the running program, from /proc/self/exe.
std::string runningProgramFolder();

}  // namespace quorlane
