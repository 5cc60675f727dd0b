#pragma once
// The show's three timers on its poll loop, and the clock its sequence reads: the same for the
// full-screen show and a show in a framework's window, each timer at its showTimerPeriod.
#include <chrono>

#include "shell/show/show_sequence.h"

namespace quorlane {

class PollLoop;

class ShowTimers {
public:
    // The sequence may still be unmade: it is first ticked once the loop runs.
    ShowTimers(PollLoop& loop, ShowSequence& sequence);

    void setEnabled(ShowTimer timer, bool enabled);
    bool enabled(ShowTimer timer) const;
    static std::chrono::milliseconds now();

private:
    int id(ShowTimer timer) const;

    PollLoop& loop_;
    int timer1_, timer2_, timer3_;
};

}  // namespace quorlane
