#pragma once
// The renderer runs as a separate program, started by path with no arguments in the
// shell's working folder and environment, in a process group of its own. The shell watches
// it; when the show ends, anything of it still running is ended (endGroup). The kernel ends
// it (SIGKILL) if the shell itself goes away first, so a show never leaves a renderer
// running behind it, however stubborn.
//
// Supports: fork and exec by path, a parent-death signal, an exec failure reported through a
//   pipe, a pidfd to watch.
// Does not: arguments, a changed environment, restarting a renderer that ended; processes a
//   foreign renderer starts itself outlive a shell killed outright (ours starts none).
#include <sys/types.h>
#include <chrono>
#include <string>
#include <vector>

namespace quorlane {

class RendererProcess {
public:
    // Starts the program (with these arguments after its name: none for a show); false (and
    // error() tells why) when it could not be started. It gets the shell's environment but for
    // these changes: "NAME=value" sets a variable, a bare "NAME" removes it.
    bool start(const std::string& program, const std::vector<std::string>& arguments = {},
               const std::vector<std::string>& environment = {});
    // The errno of the last failed start.
    int error() const { return error_; }
    // True once the process has ended or when it never started. It is reaped by endGroup.
    bool ended();
    // Ends the renderer and everything in its process group: SIGTERM, then SIGKILL for
    // whatever is left after the grace. Returns at once when all has already ended.
    void endGroup(std::chrono::milliseconds grace);
    // The same for several at once: all are signalled first, then waited for together.
    static void endGroups(const std::vector<RendererProcess*>& processes,
                          std::chrono::milliseconds grace);
    // Exit status of an ended process (as waitpid gives it); -1 before that.
    int status() const { return status_; }
    // Ended with exit code 0: a renderer's own end on Escape. Any other end is a failure.
    bool endedNormally() const;
    // Reaps the process if it has ended; true once it is reaped (or never began). A process
    // endGroup gave up waiting for (a kill the kernel is slow to carry out) is reaped here
    // later, when its end notifier says it has gone.
    bool collect();
    // The process id of the last start; -1 when none began.
    pid_t pid() const { return pid_; }
    // A descriptor that becomes readable when the process ends (a pidfd), or -1 where the
    // kernel has none or once the process is reaped; owned by this object, closed when it
    // reaps the process (stop watching it before that).
    int endNotifier() const { return pidfd_; }
    ~RendererProcess();

private:
    void reap();
    void markReaped();
    // Whether the process has ended and nothing of its group is left.
    bool groupGone();

    pid_t pid_ = -1;
    bool ended_ = true;
    bool reaped_ = true;
    int error_ = 0;
    int status_ = -1;
    int pidfd_ = -1;
};

// The folder of the running program, from /proc/self/exe.
std::string runningProgramFolder();

}  // namespace quorlane
