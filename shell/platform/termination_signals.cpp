#include "shell/platform/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>
#include <csignal>

#include <cerrno>

namespace quorlane {

namespace {

// The one pipe of the process; the handler may touch nothing else.
int pipeEnds[2] = {-1, -1};

void onTerminationSignal(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t ignored = write(pipeEnds[1], &number, 1);
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals() {
    if (pipeEnds[0] < 0 && pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    // A closed terminal or an ended session ends the show the same way, renderer group and
    // all; under nohup it stays ignored.
    struct sigaction hangup {};
    if (sigaction(SIGHUP, nullptr, &hangup) == 0 && hangup.sa_handler != SIG_IGN) {
        sigaction(SIGHUP, &action, nullptr);
        hangupHandled_ = true;
    }
}

TerminationSignals::~TerminationSignals() {
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    if (hangupHandled_) signal(SIGHUP, SIG_DFL);
}

int TerminationSignals::fd() const { return pipeEnds[0]; }

int endBySignal(int signal) {
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    return 128 + signal;
}

int TerminationSignals::takePending() {
    unsigned char number = 0;
    int last = 0;
    while (pipeEnds[0] >= 0 && read(pipeEnds[0], &number, 1) == 1) last = number;
    return last;
}

}  // namespace quorlane
