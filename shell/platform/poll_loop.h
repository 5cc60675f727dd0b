#pragma once
// The show's event loop: repeating timers, one-shot delays and file descriptors, served one
// at a time on the calling thread with poll(2). A show needs no more than this, and it
// starts in no time, unlike a toolkit's application object.
//
// Supports: repeating timers, one-shot delays, readable file descriptors, on one thread.
// Does not: writable descriptors, several threads, priorities.
#include <poll.h>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace quorlane {

class PollLoop {
public:
    using Clock = std::chrono::steady_clock;
    using Callback = std::function<void()>;

    // Where the loop's time comes from and how it waits for it: the system's steady clock and
    // poll(2), or a test's own, which decides when time passes.
    class Time {
    public:
        virtual ~Time() = default;
        virtual Clock::time_point now() = 0;
        // As poll(2): waits until a descriptor is ready or timeoutMs (-1: no limit) is over.
        virtual int wait(pollfd* fds, nfds_t count, int timeoutMs) = 0;
    };

    PollLoop() : time_(systemTime_) {}
    explicit PollLoop(Time& time) : time_(time) {}
    PollLoop(const PollLoop&) = delete;
    PollLoop& operator=(const PollLoop&) = delete;

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

    std::optional<std::size_t> earliestTimer() const;
    void serveReady(const std::vector<pollfd>& fds);
    void tick(std::size_t index);

    class SystemTime final : public Time {
    public:
        Clock::time_point now() override;
        int wait(pollfd* fds, nfds_t count, int timeoutMs) override;
    };

    SystemTime systemTime_;
    Time& time_;
    std::vector<Timer> timers_;
    std::vector<Watch> watches_;
    bool quitting_ = false;
    int exitCode_ = 0;
};

}  // namespace quorlane
