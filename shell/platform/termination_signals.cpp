#include "shell/platform/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>
#include <csignal>

#include <cerrno>

namespace quorlane {

namespace {

// How long the show has, after a signal, to end its own way before the signal's ordinary
// action ends the process: time for the renderers' grace and the music to stop.
constexpr unsigned kEndingGraceSeconds = 3;

// The one pipe of the process, and the signal that came first; the handlers touch nothing else.
int pipeEnds[2] = {-1, -1};
volatile sig_atomic_t firstSignal = 0;

// The show did not end in time (its loop may be stuck in a call that never returns, such as
// an open that a library retries): the first signal takes its ordinary course.
void onEndingOverdue(int) {
    const int signal = firstSignal;
    struct sigaction ordinary {};
    ordinary.sa_handler = SIG_DFL;
    sigemptyset(&ordinary.sa_mask);
    sigaction(signal, &ordinary, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
}

void onTerminationSignal(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t ignored = write(pipeEnds[1], &number, 1);
    if (firstSignal == 0) {
        firstSignal = signal;
        alarm(kEndingGraceSeconds);
    }
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals() {
    if (pipeEnds[0] < 0 && pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction overdue {};
    overdue.sa_handler = onEndingOverdue;
    sigemptyset(&overdue.sa_mask);
    sigaction(SIGALRM, &overdue, nullptr);
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Without SA_RESTART: a blocking call the signal lands in returns (EINTR) instead of
    // waiting again, so that the loop gets to read the pipe.
    action.sa_flags = 0;
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
