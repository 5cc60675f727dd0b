#include "shell/platform/renderer_process.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string_view>
#include <thread>

extern char** environ;

namespace quorlane {

namespace {

std::string_view variableName(std::string_view entry) { return entry.substr(0, entry.find('=')); }

// The shell's environment with the changes made; built before the fork, which may not allocate.
std::vector<std::string> changedEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view name = variableName(*entry);
        const bool changed = std::any_of(changes.begin(), changes.end(), [&](const std::string& c) {
            return variableName(c) == name;
        });
        if (!changed) result.emplace_back(*entry);
    }
    for (const std::string& change : changes) {
        if (change.find('=') != std::string::npos) result.push_back(change);
    }
    return result;
}

}  // namespace

bool RendererProcess::start(const std::string& program, const std::vector<std::string>& arguments,
                            const std::vector<std::string>& environment) {
    // The exec result comes back through a close-on-exec pipe: nothing read means the
    // program is running, an errno means it could not be started.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        error_ = errno;
        return false;
    }
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables;
    std::vector<char*> envp;
    if (!environment.empty()) {
        variables = changedEnvironment(environment);
        for (std::string& v : variables) envp.push_back(v.data());
        envp.push_back(nullptr);
    }
    char** childEnvironment = environment.empty() ? environ : envp.data();
    const pid_t parent = getpid();

    const pid_t pid = fork();
    if (pid < 0) {
        error_ = errno;
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
        // Its own process group, so that it and whatever it starts can be ended together.
        // Outside the terminal's foreground group a write to the terminal would stop it.
        setpgid(0, 0);
        ::signal(SIGTTOU, SIG_IGN);
        // If the shell dies without its end sequence (killed, crashed), the renderer must not
        // outlive the show: a signal it cannot ignore, since nobody is left to insist.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        execve(program.c_str(), argv.data(), childEnvironment);
        const int error = errno;
        ssize_t ignored = write(report[1], &error, sizeof error);
        (void)ignored;
        _exit(127);
    }
    setpgid(pid, pid);  // also here, so the group exists whichever process runs first
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
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
        error_ = error;
        return false;
    }
    pid_ = pid;
    ended_ = false;
    reaped_ = false;
    status_ = -1;
    if (pidfd_ >= 0) close(pidfd_);
    pidfd_ = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    return true;
}

// However the owner goes (an exception, an early return), the group goes with it.
RendererProcess::~RendererProcess() {
    if (pid_ > 0 && !reaped_) {
        kill(-pid_, SIGKILL);
        reap();
    }
    if (pidfd_ >= 0) close(pidfd_);
}

bool RendererProcess::ended() {
    if (ended_) return true;
    // Looked at, not reaped: while the ended renderer stays a zombie, its process group
    // keeps its number, so endGroup can never signal a stranger's group.
    siginfo_t info{};
    int result;
    do {
        result = waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT);
    } while (result < 0 && errno == EINTR);
    if (result < 0) {
        ended_ = true;  // not our child any more
        markReaped();
    } else if (info.si_pid == pid_) {
        status_ = info.si_code == CLD_EXITED ? W_EXITCODE(info.si_status, 0)
                                             : W_EXITCODE(0, info.si_status);
        ended_ = true;
    }
    return ended_;
}

void RendererProcess::reap() {
    if (reaped_ || pid_ <= 0) return;
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) markReaped();
}

// Once reaped, nothing is left to watch: the descriptor goes with the process (a show whose
// monitors come and go would otherwise keep one for every renderer it ever started).
void RendererProcess::markReaped() {
    reaped_ = true;
    if (pidfd_ >= 0) close(pidfd_);
    pidfd_ = -1;
}

bool RendererProcess::endedNormally() const {
    return status_ >= 0 && WIFEXITED(status_) && WEXITSTATUS(status_) == 0;
}

bool RendererProcess::collect() {
    if (!reaped_ && ended()) reap();
    return reaped_;
}

bool RendererProcess::groupGone() {
    if (!ended()) return false;
    reap();
    // The renderer is gone; anything it started still holds the group's number.
    return kill(-pid_, 0) != 0 && errno == ESRCH;
}

void RendererProcess::endGroup(std::chrono::milliseconds grace) { endGroups({this}, grace); }

void RendererProcess::endGroups(const std::vector<RendererProcess*>& processes,
                                std::chrono::milliseconds grace) {
    using Clock = std::chrono::steady_clock;
    // Every group is told first and then all are waited for together: one after the other,
    // each grace would add to the last, and the rest would keep flying meanwhile.
    std::vector<RendererProcess*> left;
    for (RendererProcess* process : processes) {
        if (process == nullptr || process->pid_ <= 0 || process->reaped_) continue;
        kill(-process->pid_, SIGTERM);
        left.push_back(process);
    }
    const auto until = Clock::now() + grace;
    for (;;) {
        std::erase_if(left, [](RendererProcess* process) { return process->groupGone(); });
        if (left.empty() || Clock::now() >= until) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (RendererProcess* process : left) kill(-process->pid_, SIGKILL);
    for (int i = 0; i < 200 && !left.empty(); ++i) {
        std::erase_if(left, [](RendererProcess* process) {
            if (process->ended()) process->reap();
            return process->reaped_;
        });
        if (!left.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::string runningProgramFolder() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return ".";
    return program.parent_path().string();
}

}  // namespace quorlane
