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
    fd_ = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd_ < 0)
        return;
    watch_ = loop_.watchReadable(fd_, [this, onStop = std::move(onStop)] {
        signalfd_siginfo info{};
        bool stop = false;
        while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
            stop = true;
        if (stop)
            onStop();
    });
}

StopSignals::~StopSignals() {
    if (watch_ != 0)
        loop_.unwatch(watch_);
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace pnl
