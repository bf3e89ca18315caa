#include "platform/poll_event_loop.h"

#include <errno.h>
#include <poll.h>

#include <algorithm>
#include <vector>

namespace pnl {

int PollEventLoop::startTimer(Milliseconds interval, bool repeat, Callback callback) {
    // A repeating timer of 0 ms would starve everything else.
    if (repeat && interval < Milliseconds(1))
        interval = Milliseconds(1);
    if (interval < Milliseconds(0))
        interval = Milliseconds(0);
    const int id = ++lastId_;
    timers_[id] = Timer{std::chrono::steady_clock::now() + interval, interval, repeat, std::move(callback),
                        ++lastOrder_};
    return id;
}

void PollEventLoop::stopTimer(int id) {
    timers_.erase(id);
}

int PollEventLoop::watchReadable(int fd, Callback callback) {
    const int id = ++lastId_;
    watches_[id] = Watch{fd, std::move(callback)};
    return id;
}

void PollEventLoop::unwatch(int id) {
    watches_.erase(id);
}

bool PollEventLoop::fireDueTimer() {
    const auto now = std::chrono::steady_clock::now();
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.due > now)
            continue;
        if (next == timers_.end() || it->second.due < next->second.due ||
            (it->second.due == next->second.due && it->second.order < next->second.order))
            next = it;
    }
    if (next == timers_.end())
        return false;
    // The callback may start or stop timers (even this one), so take it out of the map first.
    Callback callback = next->second.callback;
    if (next->second.repeat) {
        next->second.due = std::max(next->second.due + next->second.interval, now);
        next->second.order = ++lastOrder_;
    } else {
        timers_.erase(next);
    }
    callback();
    return true;
}

bool PollEventLoop::waitAndDispatch(const std::function<bool()>& done) {
    if (timers_.empty() && watches_.empty())
        return false;
    // Nanoseconds, not whole milliseconds: a pause of the station link wakes up on time, not up to 1 ms late.
    timespec timeout{};
    timespec* timeoutOrNone = nullptr;
    if (!timers_.empty()) {
        auto earliest = timers_.begin()->second.due;
        for (const auto& [id, timer] : timers_)
            earliest = std::min(earliest, timer.due);
        const auto wait =
            std::chrono::duration_cast<std::chrono::nanoseconds>(earliest - std::chrono::steady_clock::now());
        const std::int64_t ns = std::clamp<std::int64_t>(wait.count(), 0, 60'000'000'000);
        timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
        timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
        timeoutOrNone = &timeout;
    }
    std::vector<pollfd> fds;
    std::vector<int> ids;
    for (const auto& [id, watch] : watches_) {
        fds.push_back(pollfd{watch.fd, POLLIN, 0});
        ids.push_back(id);
    }
    const int ready = ::ppoll(fds.data(), fds.size(), timeoutOrNone, nullptr);
    if (ready < 0)
        return errno == EINTR;
    for (std::size_t i = 0; i < fds.size() && !done(); ++i) {
        if (fds[i].revents == 0)
            continue;
        const auto it = watches_.find(ids[i]);
        if (it == watches_.end())
            continue;  // unwatched by an earlier callback
        if (fds[i].revents & POLLNVAL) {
            // The descriptor was closed without unwatching it; it would wake every poll.
            watches_.erase(it);
            continue;
        }
        Callback callback = it->second.callback;
        callback();
    }
    return true;
}

void PollEventLoop::processEventsUntil(const std::function<bool()>& done) {
    while (!done()) {
        if (fireDueTimer())
            continue;
        if (!waitAndDispatch(done))
            return;
    }
}

}  // namespace pnl
