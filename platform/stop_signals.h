#pragma once
// SIGTERM and SIGINT as an event of the loop, so that a tool ends cleanly (lock files and links removed) when
// it is told to stop.

#include <functional>

#include "platform/descriptor.h"
#include "platform/event_loop.h"

namespace pnl {

class StopSignals {
  public:
    // Blocks SIGTERM and SIGINT for the process and calls onStop from the loop when one arrives.
    StopSignals(EventLoop& loop, std::function<void()> onStop);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
    EventLoop& loop_;
    Descriptor signals_;
    int watch_ = 0;
};

}  // namespace pnl
