#pragma once
// Local wall-clock time of the PC.

#include <string>

namespace pnl {

struct DateTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    bool operator==(const DateTime&) const = default;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};

// The system's local time.
class SystemClock : public Clock {
  public:
    DateTime now() const override;
};

}  // namespace pnl
