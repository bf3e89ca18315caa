#include "platform/qt/qt_event_loop.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

namespace pnl {

QtEventLoop::QtEventLoop() = default;

QtEventLoop::~QtEventLoop() {
    for (auto& [id, timer] : timers_)
        timer->stop();
    for (auto& [id, notifier] : notifiers_)
        notifier->setEnabled(false);
}

int QtEventLoop::startTimer(Milliseconds interval, bool repeat, Callback callback) {
    const int id = ++lastId_;
    auto* timer = new QTimer(&owner_);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(!repeat);
    timer->setInterval(std::chrono::milliseconds(std::max<Milliseconds::rep>(0, interval.count())));
    QObject::connect(timer, &QTimer::timeout, &owner_, [this, id, repeat, callback = std::move(callback)] {
        // A one-shot timer is gone before its callback runs, so the callback may start the next one.
        if (!repeat)
            stopTimer(id);
        callback();
    });
    timers_[id] = timer;
    timer->start();
    return id;
}

void QtEventLoop::stopTimer(int id) {
    const auto found = timers_.find(id);
    if (found == timers_.end())
        return;
    found->second->stop();
    // The timer may be the one whose timeout is being delivered right now.
    found->second->deleteLater();
    timers_.erase(found);
}

int QtEventLoop::watchReadable(int fd, Callback callback) {
    const int id = ++lastId_;
    auto* notifier = new QSocketNotifier(static_cast<qintptr>(fd), QSocketNotifier::Read, &owner_);
    QObject::connect(notifier, &QSocketNotifier::activated, &owner_,
                     [callback = std::move(callback)] { callback(); });
    notifiers_[id] = notifier;
    return id;
}

void QtEventLoop::unwatch(int id) {
    const auto found = notifiers_.find(id);
    if (found == notifiers_.end())
        return;
    found->second->setEnabled(false);
    found->second->deleteLater();
    notifiers_.erase(found);
}

void QtEventLoop::processEventsUntil(const std::function<bool()>& done) {
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace pnl
