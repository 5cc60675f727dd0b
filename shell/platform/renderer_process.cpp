#include "shell/platform/renderer_process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

extern char** environ;

namespace quorlane {

bool RendererProcess::start(const std::string& program) {
    // The exec result comes back through a close-on-exec pipe: nothing read means the
    // program is running, an errno means it could not be started.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return false;
    std::string argument0 = program;
    char* argv[] = {argument0.data(), nullptr};
    const pid_t parent = getpid();

    const pid_t pid = fork();
    if (pid < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (pid == 0) {
        // Only async-signal-safe calls from here to exec. The shell catches SIGINT and
        // SIGTERM and may block signals; the renderer starts with the ordinary defaults.
        for (int signal : {SIGINT, SIGTERM, SIGPIPE, SIGCHLD, SIGHUP}) ::signal(signal, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        // If the shell dies without its end sequence (killed, crashed) or gives up on a
        // renderer whose window never came, the renderer must not outlive the show.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(127);
        execve(program.c_str(), argv, environ);
        const int error = errno;
        ssize_t ignored = write(report[1], &error, sizeof error);
        (void)ignored;
        _exit(127);
    }
    close(report[1]);
    int error = 0;
    ssize_t got;
    do {
        got = read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    if (got > 0) {
        // The child is ending at once: reap it here so it leaves no zombie.
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return false;
    }
    pid_ = pid;
    ended_ = false;
    status_ = -1;
    if (pidfd_ >= 0) close(pidfd_);
    pidfd_ = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    return true;
}

RendererProcess::~RendererProcess() {
    if (pidfd_ >= 0) close(pidfd_);
}

bool RendererProcess::ended() {
    if (ended_) return true;
    int status = 0;
    pid_t result;
    do {
        result = waitpid(pid_, &status, WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result == pid_) {
        status_ = status;
        ended_ = true;
    } else if (result < 0) {
        ended_ = true;  // not our child any more
    }
    return ended_;
}

std::string runningProgramFolder() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return ".";
    return program.parent_path().string();
}

}  // namespace quorlane
