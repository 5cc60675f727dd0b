#pragma once
// The show's event loop: repeating timers, one-shot delays and file descriptors, served one
// at a time on the calling thread with poll(2). A show needs no more than this, and it
// starts in no time, unlike a toolkit's application object.
//
// Supports: repeating timers, one-shot delays, readable file descriptors, on one thread.
// Does not: writable descriptors, several threads, priorities.
#include <chrono>
#include <functional>
#include <vector>

namespace quorlane {

class PollLoop {
public:
    using Clock = std::chrono::steady_clock;
    using Callback = std::function<void()>;

    // A repeating timer, stopped until started; its id for the calls below.
    int addTimer(std::chrono::milliseconds interval, Callback onTick);
    // Starting a running timer leaves it as it is; its first tick is one interval away.
    void startTimer(int id);
    void stopTimer(int id);
    bool timerActive(int id) const;

    // Runs onReady whenever the descriptor can be read, until unwatched.
    void watchReadable(int fd, Callback onReady);
    void unwatch(int fd);

    void singleShot(std::chrono::milliseconds delay, Callback callback);

    // Serves timers and descriptors until quit; returns quit's code.
    int run();
    void quit(int exitCode);

private:
    struct Timer {
        std::chrono::milliseconds interval;
        Callback onTick;
        bool active = false;
        bool singleShot = false;
        Clock::time_point due;
    };
    struct Watch {
        int fd;
        Callback onReady;
    };

    std::vector<Timer> timers_;
    std::vector<Watch> watches_;
    bool quitting_ = false;
    int exitCode_ = 0;
};

}  // namespace quorlane
