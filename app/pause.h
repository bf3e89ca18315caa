#pragma once
// The program's one pause: a one-shot timer and the flag that says it has run out. A pause services events
// (windows, serial receive) until its full interval has passed; only one can run at a time.

#include <functional>

#include "platform/event_loop.h"

namespace pnl {

class Pause {
  public:
    explicit Pause(EventLoop& loop) : loop_(&loop) {}

    bool busy() const { return timer_ != 0; }
    bool timeoutElapsed() const { return timeoutElapsed_; }

    // Starts the timer with the interval, clears the run-out flag, runs `afterStart` (a probe
    // empties its receive buffer and sends its frame there), then services events until the timer has run
    // out. Returns false at once, without waiting, when another pause is in progress.
    bool TimerWait(int milliseconds, const std::function<void()>& afterStart = {});

  private:
    EventLoop* loop_;
    int timer_ = 0;
    bool timeoutElapsed_ = true;
};

}  // namespace pnl
