#pragma once
// An event loop on virtual time: when nothing else is pending, time jumps to the next timer, so pauses of
// seconds pass at once. Fakes schedule their own events (bytes arriving on a line) as timers.

#include <cstdint>
#include <map>

#include "platform/event_loop.h"

namespace pnl::test {

class VirtualClock : public Clock {
  public:
    explicit VirtualClock(DateTime start) : start_(start) {}
    DateTime now() const override;
    void setStart(DateTime start) {
        start_ = start;
        elapsedMs_ = 0;
    }
    std::int64_t elapsedMs() const { return elapsedMs_; }
    void advance(std::int64_t ms) { elapsedMs_ += ms; }

  private:
    DateTime start_;
    std::int64_t elapsedMs_ = 0;
};

class VirtualEventLoop : public EventLoop {
  public:
    explicit VirtualEventLoop(DateTime start = DateTime{2026, 12, 6, 9, 30, 0}) : clock_(start) {}

    int startTimer(Milliseconds interval, bool repeat, Callback callback) override;
    void stopTimer(int id) override;
    // File descriptors are not watched on virtual time; tests on real descriptors use the poll loop.
    int watchReadable(int, Callback) override { return 0; }
    void unwatch(int) override {}
    // Fires timers in time order until done() holds. Fails the test (and returns) when nothing is left that
    // could make done() true.
    void processEventsUntil(const std::function<bool()>& done) override;
    const Clock& clock() const override { return clock_; }

    // Milliseconds since the loop was made.
    std::int64_t now() const { return clock_.elapsedMs(); }
    // Fires every timer due within the next ms milliseconds, then sets the time to now + ms.
    void advance(std::int64_t ms);
    // Lets time pass without firing timers, as a call that blocks the thread does; timers then due fire late.
    void block(std::int64_t ms) { clock_.advance(ms); }
    // Runs callback at now + delay (a fake's way to deliver something later).
    void post(std::int64_t delayMs, Callback callback) {
        startTimer(Milliseconds(delayMs), false, std::move(callback));
    }
    void setStart(DateTime start) { clock_.setStart(start); }
    int pendingTimers() const { return static_cast<int>(timers_.size()); }

  private:
    struct Timer {
        std::int64_t due;
        std::int64_t interval;
        bool repeat;
        Callback callback;
        std::uint64_t order;
    };
    bool fireNext(std::int64_t limit);

    VirtualClock clock_;
    std::map<int, Timer> timers_;
    int lastId_ = 0;
    std::uint64_t lastOrder_ = 0;
};

}  // namespace pnl::test
