#include "shell/platform/poll_loop.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

namespace quorlane {

int PollLoop::addTimer(std::chrono::milliseconds interval, Callback onTick) {
    timers_.push_back({interval, std::move(onTick), false, false, {}});
    return static_cast<int>(timers_.size()) - 1;
}

void PollLoop::startTimer(int id) {
    Timer& timer = timers_.at(static_cast<std::size_t>(id));
    if (timer.active) return;
    timer.active = true;
    timer.due = Clock::now() + timer.interval;
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
    timer.due = Clock::now() + delay;
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

int PollLoop::run() {
    quitting_ = false;
    while (!quitting_) {
        // The earliest due timer first; equal times in the order the timers were made.
        const Timer* next = nullptr;
        std::size_t nextIndex = 0;
        for (std::size_t i = 0; i < timers_.size(); ++i) {
            if (timers_[i].active && (next == nullptr || timers_[i].due < next->due)) {
                next = &timers_[i];
                nextIndex = i;
            }
        }
        int timeout = -1;
        if (next != nullptr) {
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(next->due - Clock::now());
            timeout = static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0));
        }

        std::vector<pollfd> fds;
        fds.reserve(watches_.size());
        for (const Watch& w : watches_) fds.push_back({w.fd, POLLIN, 0});
        const int ready = poll(fds.data(), fds.size(), timeout);
        if (ready < 0 && errno != EINTR) return 1;

        if (ready > 0) {
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
        if (next == nullptr || quitting_ || Clock::now() < timers_[nextIndex].due) continue;

        Timer& due = timers_[nextIndex];
        if (due.singleShot) {
            due.active = false;
        } else {
            // The next tick keeps the rhythm, but a late loop never ticks to catch up.
            due.due += due.interval;
            if (due.due < Clock::now()) due.due = Clock::now() + due.interval;
        }
        Callback onTick = due.onTick;
        onTick();
    }
    return exitCode_;
}

}  // namespace quorlane
