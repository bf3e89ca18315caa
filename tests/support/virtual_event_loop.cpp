#include "support/virtual_event_loop.h"

#include <gtest/gtest.h>

#include <chrono>

namespace pnl::test {

DateTime VirtualClock::now() const {
    using namespace std::chrono;
    const sys_days day = year_month_day{year{start_.year}, month{static_cast<unsigned>(start_.month)},
                                        std::chrono::day{static_cast<unsigned>(start_.day)}};
    const auto t =
        day + hours{start_.hour} + minutes{start_.minute} + seconds{start_.second} + milliseconds{elapsedMs_};
    const auto dayPart = floor<days>(t);
    const year_month_day ymd{dayPart};
    const hh_mm_ss hms{floor<seconds>(t - dayPart)};
    return DateTime{static_cast<int>(ymd.year()),
                    static_cast<int>(static_cast<unsigned>(ymd.month())),
                    static_cast<int>(static_cast<unsigned>(ymd.day())),
                    static_cast<int>(hms.hours().count()),
                    static_cast<int>(hms.minutes().count()),
                    static_cast<int>(hms.seconds().count())};
}

int VirtualEventLoop::startTimer(Milliseconds interval, bool repeat, Callback callback) {
    const std::int64_t ms = std::max<std::int64_t>(interval.count(), repeat ? 1 : 0);
    timers_[++lastId_] = Timer{now() + ms, ms, repeat, std::move(callback), ++lastOrder_};
    return lastId_;
}

void VirtualEventLoop::stopTimer(int id) {
    timers_.erase(id);
}

bool VirtualEventLoop::fireNext(std::int64_t limit) {
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (next == timers_.end() || it->second.due < next->second.due ||
            (it->second.due == next->second.due && it->second.order < next->second.order))
            next = it;
    }
    if (next == timers_.end() || next->second.due > limit)
        return false;
    const int id = next->first;
    Timer& timer = next->second;
    if (timer.due > now())
        clock_.advance(timer.due - now());
    Callback callback = timer.callback;
    if (timer.repeat) {
        timer.due += timer.interval;
        timer.order = ++lastOrder_;
    } else {
        timers_.erase(id);
    }
    callback();
    return true;
}

void VirtualEventLoop::processEventsUntil(const std::function<bool()>& done) {
    while (!done()) {
        if (!fireNext(INT64_MAX)) {
            ADD_FAILURE() << "virtual event loop: waiting for something that no timer can bring";
            return;
        }
    }
}

void VirtualEventLoop::advance(std::int64_t ms) {
    const std::int64_t until = now() + ms;
    while (fireNext(until)) {
    }
    if (until > now())
        clock_.advance(until - now());
}

}  // namespace pnl::test
