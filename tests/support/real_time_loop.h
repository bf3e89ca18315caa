#pragma once
// The poll loop on real time behind the event-loop interface, for loops that change only how timers are
// started (sped up, or measured); everything else goes to the poll loop as it is.

#include "platform/poll_event_loop.h"

namespace pnl::test {

class RealTimeLoop : public EventLoop {
  public:
    int startTimer(Milliseconds interval, bool repeat, Callback callback) override {
        return loop_.startTimer(interval, repeat, std::move(callback));
    }
    void stopTimer(int id) override { loop_.stopTimer(id); }
    int watchReadable(int fd, Callback callback) override {
        return loop_.watchReadable(fd, std::move(callback));
    }
    void unwatch(int id) override { loop_.unwatch(id); }
    void processEventsUntil(const std::function<bool()>& done) override { loop_.processEventsUntil(done); }
    const Clock& clock() const override { return loop_.clock(); }

  protected:
    PollEventLoop loop_;
};

// Real time sped up by the factor, so that the fixed pauses of a transfer take a second or two.
class FastLoop : public RealTimeLoop {
  public:
    explicit FastLoop(int factor) : factor_(factor) {}
    int startTimer(Milliseconds interval, bool repeat, Callback callback) override {
        return loop_.startTimer(interval / factor_, repeat, std::move(callback));
    }

  private:
    int factor_;
};

}  // namespace pnl::test
