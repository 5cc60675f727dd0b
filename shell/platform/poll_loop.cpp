#include "shell/platform/poll_loop.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

namespace quorlane {

PollLoop::Clock::time_point PollLoop::SystemTime::now() { return Clock::now(); }

int PollLoop::SystemTime::wait(pollfd* fds, nfds_t count, int timeoutMs) {
    return poll(fds, count, timeoutMs);
}

int PollLoop::addTimer(std::chrono::milliseconds interval, Callback onTick) {
    timers_.push_back({interval, std::move(onTick), false, false, {}});
    return static_cast<int>(timers_.size()) - 1;
}

void PollLoop::startTimer(int id) {
    Timer& timer = timers_.at(static_cast<std::size_t>(id));
    if (timer.active) return;
    timer.active = true;
    timer.due = time_.now() + timer.interval;
}

void PollLoop::stopTimer(int id) { timers_.at(static_cast<std::size_t>(id)).active = false; }

bool PollLoop::timerActive(int id) const { return timers_.at(static_cast<std::size_t>(id)).active; }

void PollLoop::watchReadable(int fd, Callback onReady) {
    unwatch(fd);
    watches_.push_back({fd, std::move(onReady)});
}

void PollLoop::unwatch(int fd) {
    std::erase_if(watches_, [fd](const Watch& w) { return w.fd == fd; });
}

void PollLoop::singleShot(std::chrono::milliseconds delay, Callback callback) {
    Timer timer{delay, std::move(callback), false, false, {}};
    timer.active = true;
    timer.singleShot = true;
    timer.due = time_.now() + delay;
    // A finished one-shot slot is reused, so repeated delays do not grow the list.
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        if (timers_[i].singleShot && !timers_[i].active) {
            timers_[i] = std::move(timer);
            return;
        }
    }
    timers_.push_back(std::move(timer));
}

void PollLoop::quit(int exitCode) {
    quitting_ = true;
    exitCode_ = exitCode;
}

std::optional<std::size_t> PollLoop::earliestTimer() const {
    // The earliest due timer first; equal times in the order the timers were made.
    std::optional<std::size_t> earliest;
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        if (timers_[i].active && (!earliest || timers_[i].due < timers_[*earliest].due)) {
            earliest = i;
        }
    }
    return earliest;
}

void PollLoop::serveReady(const std::vector<pollfd>& fds) {
    for (const pollfd& p : fds) {
        if (quitting_) break;
        if (p.revents & POLLNVAL) {
            unwatch(p.fd);  // closed behind our back: it would wake us for ever
            continue;
        }
        if ((p.revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
        // A callback may unwatch descriptors, its own included.
        auto it = std::find_if(watches_.begin(), watches_.end(),
                               [&](const Watch& w) { return w.fd == p.fd; });
        if (it == watches_.end()) continue;
        Callback onReady = it->onReady;
        onReady();
    }
}

void PollLoop::tick(std::size_t index) {
    Timer& due = timers_[index];
    if (due.singleShot) {
        due.active = false;
    } else {
        // The next tick keeps the rhythm, but a late loop never ticks to catch up.
        due.due += due.interval;
        if (due.due < time_.now()) due.due = time_.now() + due.interval;
    }
    Callback onTick = due.onTick;
    onTick();
}

int PollLoop::run() {
    quitting_ = false;
    while (!quitting_) {
        const std::optional<std::size_t> next = earliestTimer();
        int timeout = -1;
        if (next) {
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(timers_[*next].due - time_.now());
            timeout = static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0));
        }

        std::vector<pollfd> fds;
        fds.reserve(watches_.size());
        for (const Watch& w : watches_) fds.push_back({w.fd, POLLIN, 0});
        const int ready = time_.wait(fds.data(), fds.size(), timeout);
        if (ready < 0 && errno != EINTR) return 1;
        if (ready > 0) serveReady(fds);

        if (next && !quitting_ && time_.now() >= timers_[*next].due) tick(*next);
    }
    return exitCode_;
}

}  // namespace quorlane
