#include "app/pause.h"

namespace pnl {

bool Pause::TimerWait(int milliseconds, const std::function<void()>& afterStart) {
    if (busy())
        return false;
    timeoutElapsed_ = false;
    timer_ = loop_->startTimer(EventLoop::Milliseconds(milliseconds), false, [this] {
        timer_ = 0;
        timeoutElapsed_ = true;
    });
    if (afterStart)
        afterStart();
    loop_->processEventsUntil([this] { return timeoutElapsed_; });
    return true;
}

}  // namespace pnl
