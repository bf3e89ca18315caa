#pragma once
// The event loop of the windowed program: timers on QTimer, readable descriptors on QSocketNotifier, and a
// pause that keeps the windows alive by servicing Qt's events.

#include <QObject>
#include <map>

#include "platform/clock.h"
#include "platform/event_loop.h"

class QTimer;
class QSocketNotifier;

namespace pnl {

class QtEventLoop : public EventLoop {
  public:
    QtEventLoop();
    ~QtEventLoop() override;

    int startTimer(Milliseconds interval, bool repeat, Callback callback) override;
    void stopTimer(int id) override;
    int watchReadable(int fd, Callback callback) override;
    void unwatch(int id) override;
    void processEventsUntil(const std::function<bool()>& done) override;
    const Clock& clock() const override { return clock_; }

  private:
    QObject owner_;  // parent of every timer and notifier
    std::map<int, QTimer*> timers_;
    std::map<int, QSocketNotifier*> notifiers_;
    int lastId_ = 0;
    SystemClock clock_;
};

}  // namespace pnl
