#include "platform/stop_signals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace pnl {

StopSignals::StopSignals(EventLoop& loop, std::function<void()> onStop) : loop_(loop) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    signals_ = Descriptor(::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC));
    if (!signals_.valid())
        return;
    watch_ = loop_.watchReadable(signals_.get(), [this, onStop = std::move(onStop)] {
        signalfd_siginfo info{};
        bool stop = false;
        while (::read(signals_.get(), &info, sizeof info) == static_cast<ssize_t>(sizeof info))
            stop = true;
        if (stop)
            onStop();
    });
}

StopSignals::~StopSignals() {
    if (watch_ != 0)
        loop_.unwatch(watch_);
}

}  // namespace pnl
