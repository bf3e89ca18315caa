#include "platform/pseudo_terminal.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>

#include "platform/failure_text.h"

namespace pnl {

namespace {

bool fail(std::string* error, const std::string& what) {
    if (error)
        *error = what + ": " + systemFailureText(errno);
    return false;
}

void makeRaw(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return;
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
}

}  // namespace

std::unique_ptr<PseudoTerminal> PseudoTerminal::open(std::string* error) {
    std::unique_ptr<PseudoTerminal> pty(new PseudoTerminal);
    pty->master_ = Descriptor(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!pty->master_.valid())
        return fail(error, "posix_openpt"), nullptr;
    if (::grantpt(pty->master_.get()) != 0 || ::unlockpt(pty->master_.get()) != 0)
        return fail(error, "unlockpt"), nullptr;
    char name[128];
    if (::ptsname_r(pty->master_.get(), name, sizeof name) != 0)
        return fail(error, "ptsname"), nullptr;
    pty->slavePath_ = name;
    pty->heldSlave_ = Descriptor(::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!pty->heldSlave_.valid())
        return fail(error, pty->slavePath_), nullptr;
    makeRaw(pty->heldSlave_.get());
    makeRaw(pty->master_.get());
    return pty;
}

PseudoTerminal::~PseudoTerminal() {
    if (!link_.empty())
        ::unlink(link_.c_str());
    closeMaster();
}

void PseudoTerminal::closeMaster() {
    master_.close();
}

bool PseudoTerminal::write(const std::string& bytes, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    std::size_t done = 0;
    while (master_.valid() && done < bytes.size()) {
        const ssize_t n = ::write(master_.get(), bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            return false;
        pollfd p{master_.get(), POLLOUT, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
    return done == bytes.size();
}

std::string PseudoTerminal::readAvailable() {
    std::string received;
    char buffer[4096];
    while (master_.valid()) {
        const ssize_t n = ::read(master_.get(), buffer, sizeof buffer);
        if (n > 0) {
            received.append(buffer, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;  // EAGAIN: nothing more for now
        }
    }
    return received;
}

bool PseudoTerminal::link(const std::string& linkPath, std::string* error) {
    ::unlink(linkPath.c_str());
    if (::symlink(slavePath_.c_str(), linkPath.c_str()) != 0)
        return fail(error, linkPath);
    link_ = linkPath;
    return true;
}

}  // namespace pnl
