#include "shell/show/show_timers.h"

#include "shell/platform/poll_loop.h"

namespace quorlane {

ShowTimers::ShowTimers(PollLoop& loop, ShowSequence& sequence)
    : loop_(loop),
      timer1_(loop.addTimer(showTimerPeriod(ShowTimer::Timer1),
                            [&sequence] { sequence.timer1Tick(); })),
      timer2_(loop.addTimer(showTimerPeriod(ShowTimer::Timer2),
                            [&sequence] { sequence.timer2Tick(); })),
      timer3_(loop.addTimer(showTimerPeriod(ShowTimer::Timer3),
                            [&sequence] { sequence.timer3Tick(); })) {}

int ShowTimers::id(ShowTimer timer) const {
    switch (timer) {
    case ShowTimer::Timer1: return timer1_;
    case ShowTimer::Timer2: return timer2_;
    case ShowTimer::Timer3: return timer3_;
    }
    return timer3_;
}

void ShowTimers::setEnabled(ShowTimer timer, bool enabled) {
    if (enabled) {
        loop_.startTimer(id(timer));
    } else {
        loop_.stopTimer(id(timer));
    }
}

bool ShowTimers::enabled(ShowTimer timer) const { return loop_.timerActive(id(timer)); }

std::chrono::milliseconds ShowTimers::now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

}  // namespace quorlane
