#pragma once
// SIGTERM, SIGINT and SIGHUP end a show the ordinary way (music stopped, cursor back) instead of
// killing the shell mid-sound: the handler only writes the signal's number into a pipe,
// and the show's event loop reads it. Once all is cleaned up the process still dies of the
// signal, as whoever sent it expects (a framework logs an exit code as an abnormal end).
//
// A show that has not ended a few seconds after the first signal (stuck in a call that does
// not return) is ended by that signal's ordinary action.
//
// Supports: SIGTERM, SIGINT and SIGHUP (unless ignored, as nohup does) through a pipe the
//   poll loop reads; SIGALRM for the overdue end.
// Does not: other signals, several threads, other users of SIGALRM.

namespace quorlane {

class TerminationSignals {
public:
    // Installs the handlers.
    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Readable when a signal has come; -1 when the pipe could not be made.
    int fd() const;
    // The last signal's number since the previous call, 0 when none came.
    int takePending();

private:
    bool hangupHandled_ = false;
};

// Ends the process by this signal's default action; returns 128 + signal only should the
// signal not end it.
int endBySignal(int signal);

}  // namespace quorlane
