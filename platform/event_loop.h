#pragma once
// The event loop of the program: timers, readiness of file descriptors (serial ports), and servicing events
// while a pause runs. Three implementations: Qt's (the windows), a poll() loop on real time (tools, terminal
// runs), and a virtual-time loop for the unit tests.

#include <chrono>
#include <functional>

#include "platform/clock.h"

namespace pnl {

class EventLoop {
  public:
    using Milliseconds = std::chrono::milliseconds;
    using Callback = std::function<void()>;

    virtual ~EventLoop() = default;

    // Starts a timer that calls back after the interval, once or repeatedly. Returns an id above 0.
    virtual int startTimer(Milliseconds interval, bool repeat, Callback callback) = 0;
    virtual void stopTimer(int id) = 0;

    // Calls back on the loop's thread whenever fd is readable (or hung up). Returns an id above 0.
    virtual int watchReadable(int fd, Callback callback) = 0;
    virtual void unwatch(int id) = 0;

    // Services events (timers, watched descriptors, windows) until done() is true. Returns at once when
    // done() is already true.
    virtual void processEventsUntil(const std::function<bool()>& done) = 0;

    // The clock that this loop's timers run on (virtual time for the test loop).
    virtual const Clock& clock() const = 0;
};

}  // namespace pnl
