#pragma once
// An event loop on real time built on poll(): timers and readable file descriptors. The tools (the station
// simulator) and the tests on real pseudo-terminals run on it.

#include <chrono>
#include <cstdint>
#include <map>

#include "platform/event_loop.h"

namespace pnl {

class PollEventLoop : public EventLoop {
  public:
    int startTimer(Milliseconds interval, bool repeat, Callback callback) override;
    void stopTimer(int id) override;
    int watchReadable(int fd, Callback callback) override;
    void unwatch(int id) override;
    // Returns without waiting when nothing is left that could make done() true (no timer and no descriptor).
    void processEventsUntil(const std::function<bool()>& done) override;
    const Clock& clock() const override { return clock_; }

  private:
    using TimePoint = std::chrono::steady_clock::time_point;
    struct Timer {
        TimePoint due;
        Milliseconds interval;
        bool repeat;
        Callback callback;
        std::uint64_t order;  // keeps timers with the same due time in the order they were started
    };
    struct Watch {
        int fd;
        Callback callback;
    };

    // Fires the earliest timer that is due; false when none is.
    bool fireDueTimer();
    // Waits for the next timer or a readable descriptor and dispatches the descriptors; false when there is
    // nothing to wait for.
    bool waitAndDispatch(const std::function<bool()>& done);

    SystemClock clock_;
    std::map<int, Timer> timers_;
    std::map<int, Watch> watches_;
    int lastId_ = 0;
    std::uint64_t lastOrder_ = 0;
};

}  // namespace pnl
