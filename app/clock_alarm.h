#pragma once
// The clock alarm: alarms registered with a time pattern "hh:mm:ss" in which "?" stands for any digit fire
// once whenever the clock shows a matching time, handing over their number. It runs on the event loop's
// timers and clock, so on virtual time in tests.

#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/event_loop.h"

namespace pnl {

// True when the time, written "hh:mm:ss", matches the pattern character by character ("?" matches any digit).
bool matchesTimePattern(const std::string& pattern, const DateTime& time);

class ClockAlarm {
  public:
    using Handler = std::function<void(int number)>;

    explicit ClockAlarm(EventLoop& loop);
    ~ClockAlarm();
    ClockAlarm(const ClockAlarm&) = delete;
    ClockAlarm& operator=(const ClockAlarm&) = delete;

    // The Alarm event.
    void setHandler(Handler handler) { handler_ = std::move(handler); }
    // False (nothing registered) when the pattern is not of the form "hh:mm:ss" with digits or "?".
    bool addAlarm(const std::string& pattern, int number);
    // Removes every alarm and stops looking at the clock.
    void clear();

  private:
    struct Alarm {
        std::string pattern;
        int number;
        DateTime lastFired{};
        bool fired = false;
    };
    void tick();

    EventLoop& loop_;
    Handler handler_;
    std::vector<Alarm> alarms_;
    int timer_ = 0;
};

}  // namespace pnl
