#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/descriptor.h"
#include "platform/failure_text.h"
#include "platform/port_discovery.h"
#include "platform/posix_serial.h"
#include "platform/serial_lock.h"
#include "platform/termios_line.h"

namespace pnl {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class PosixSerialPort : public SerialPort {
  public:
    PosixSerialPort(EventLoop& loop, const PortMap& ports, const PosixSerialOptions& options)
        : loop_(loop), ports_(ports), options_(options) {}
    ~PosixSerialPort() override { close(); }

    void setCommPort(int number) override { number_ = number; }  // takes effect at the next open
    int commPort() const override { return number_; }

    bool setSettings(const std::string& text) override {
        const auto parsed = LineSettings::parse(text);
        if (!parsed)
            return false;
        if (line_.valid() && !termios_line::apply(line_.get(), *parsed, handshake_, nullptr))
            return false;
        settings_ = *parsed;
        return true;
    }

    void setDTREnable(bool on) override {
        dtr_ = on;
        if (line_.valid())
            termios_line::setDtr(line_.get(), on);
    }

    void setRTSEnable(bool on) override {
        rts_ = on;
        if (line_.valid())
            termios_line::setRts(line_.get(), on);
    }

    void setHandshaking(int mode) override {
        if (mode < 0 || mode > 3)
            return;
        handshake_ = mode;
        if (line_.valid())
            termios_line::apply(line_.get(), settings_, handshake_, nullptr);
    }

    bool isOpen() const override { return line_.valid(); }

    bool open(std::string* error) override;
    void close() override;
    bool output(const std::string& bytes) override;
    bool drain() override;

    bool carrierDetect() const override {
        return line_.valid() && !lost_ && termios_line::carrier(line_.get());
    }

    void setReceiveHandler(ReceiveHandler handler) override { handler_ = std::move(handler); }

  private:
    std::string portName() const { return "COM" + std::to_string(number_); }
    static bool fail(std::string* error, const std::string& text);
    void onReadable();
    bool waitWritable(Clock::time_point deadline);
    bool waitUntilSent(Clock::time_point deadline);
    void lineLost();

    EventLoop& loop_;
    const PortMap& ports_;
    const PosixSerialOptions options_;
    int number_ = 1;
    LineSettings settings_;
    bool dtr_ = false;
    bool rts_ = false;
    int handshake_ = 0;
    Descriptor line_;
    int watch_ = 0;
    bool lost_ = false;            // the device hung up or vanished while open
    bool pseudoTerminal_ = false;  // a simulator's line: its peer ends by closing, not by vanishing
    std::string lockFile_;
    ReceiveHandler handler_;
};

bool PosixSerialPort::fail(std::string* error, const std::string& text) {
    if (error)
        *error = text;
    return false;
}

bool PosixSerialPort::open(std::string* error) {
    const std::string path = ports_.pathOf(number_);
    const std::string where = portName() + " (" + path + ")";
    if (line_.valid())
        return fail(error, "Die Schnittstelle " + where + " ist bereits geöffnet.");

    Descriptor line(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!line.valid()) {
        const int code = errno;
        const std::string adapter = ports_.adapterOf(number_);
        if ((code == ENOENT || code == ENXIO || code == ENODEV) && !adapter.empty())
            return fail(error, "Der USB-Adapter " + adapter + " für " + portName() +
                                   " ist nicht angeschlossen. Stecken Sie ihn an oder wählen Sie im Fenster "
                                   "„Schnittstellen“ ein anderes Gerät.");
        if (code == ENOENT || code == ENXIO || code == ENODEV)
            return fail(error, "Die Schnittstelle " + where + " ist nicht vorhanden.");
        if (code == EBUSY)
            return fail(error, "Die Schnittstelle " + where + " wird gegenwärtig genutzt.");
        if (code == EACCES || code == EPERM)
            return fail(error, noAccessText(path, deviceGroup(path)));
        return fail(error,
                    "Die Schnittstelle " + where + " kann nicht geöffnet werden: " + systemFailureText(code));
    }
    if (!::isatty(line.get()))
        return fail(error, where + " ist keine serielle Schnittstelle.");
    if (::flock(line.get(), LOCK_EX | LOCK_NB) != 0)
        return fail(error, "Die Schnittstelle " + where + " wird gegenwärtig genutzt.");

    const std::string lockFile =
        serial_lock::lockFilePath(options_.lockFolder, serial_lock::devicePath(path));
    const auto lock = serial_lock::take(lockFile);
    if (lock == serial_lock::LockResult::Busy)
        return fail(
            error, "Die Schnittstelle " + where + " wird gegenwärtig genutzt (Sperrdatei " + lockFile + ").");
    const auto failLocked = [&](const std::string& text) {
        if (lock == serial_lock::LockResult::Taken)
            serial_lock::release(lockFile);
        return fail(error, text);
    };

    // Other programs that honour the exclusive flag can no longer open the device (root is not held back,
    // the flock and the lock file cover that).
    ::ioctl(line.get(), TIOCEXCL);
    std::string why;
    if (!termios_line::apply(line.get(), settings_, handshake_, &why))
        return failLocked("Die Schnittstelle " + where + " lässt sich nicht einstellen. " + why);
    ::tcflush(line.get(), TCIOFLUSH);  // nothing received before the port was opened counts
    if (!termios_line::setDtr(line.get(), dtr_) || !termios_line::setRts(line.get(), rts_))
        return failLocked("Die Schnittstelle " + where + " antwortet nicht.");

    line_ = std::move(line);
    const char* device = ::ttyname(line_.get());
    pseudoTerminal_ = device != nullptr && std::strncmp(device, "/dev/pts/", 9) == 0;
    lost_ = false;
    lockFile_ = lock == serial_lock::LockResult::Taken ? lockFile : std::string();
    watch_ = loop_.watchReadable(line_.get(), [this] { onReadable(); });
    return true;
}

void PosixSerialPort::close() {
    if (!line_.valid())
        return;
    if (watch_ != 0)
        loop_.unwatch(watch_);
    watch_ = 0;
    // The last bytes handed over may still be on their way: they get the write deadline to leave. Output
    // still held after it (flow control) would hold close() up to the driver's closing wait (30 s by
    // default), so it is dropped; what has left is left alone: on a pseudo-terminal a full flush would throw
    // away the bytes the peer has not read yet.
    ::tcflush(line_.get(), TCIFLUSH);
    if (lost_ || !waitUntilSent(Clock::now() + options_.writeDeadline))
        ::tcflush(line_.get(), TCOFLUSH);
    line_.close();  // also drops the flock and the exclusive flag
    lost_ = false;
    if (!lockFile_.empty())
        serial_lock::release(lockFile_);
    lockFile_.clear();
}

void PosixSerialPort::lineLost() {
    lost_ = true;
    if (watch_ != 0)
        loop_.unwatch(watch_);  // a hung-up descriptor would wake every poll
    watch_ = 0;
}

void PosixSerialPort::onReadable() {
    if (!line_.valid() || lost_)
        return;
    std::string received;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(line_.get(), buffer, sizeof buffer);
        if (n > 0) {
            received.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        lineLost();  // 0 bytes: hung up; EIO, ENXIO: the device is gone
        break;
    }
    // The handler may close the port; nothing of this object is touched after it.
    if (!received.empty() && handler_)
        handler_(received);
}

bool PosixSerialPort::waitWritable(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return false;
    pollfd p{line_.get(), POLLOUT, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left));
    if (ready < 0)
        return errno == EINTR;
    if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) {
        lineLost();
        return false;
    }
    return true;  // writable, or poll timed out (the next round sees the deadline)
}

bool PosixSerialPort::waitUntilSent(Clock::time_point deadline) {
    for (;;) {
        if (termios_line::allSent(line_.get()))
            return true;
        if (Clock::now() >= deadline)
            return false;
        int queued = 0;
        ::ioctl(line_.get(), TIOCOUTQ, &queued);
        // Sleep about as long as the queued bytes take at the line's rate (10 bits a byte), at most until the
        // deadline; a little at a time once only the transmitter is busy.
        const auto perByte = std::chrono::microseconds(10'000'000 / std::max(settings_.baud, 1));
        auto nap = std::max<std::chrono::microseconds>(perByte * std::max(queued, 1),
                                                       std::chrono::microseconds(200));
        nap = std::min(nap, std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()));
        if (nap.count() > 0)
            std::this_thread::sleep_for(nap);
    }
}

bool PosixSerialPort::output(const std::string& bytes) {
    if (!line_.valid() || lost_)
        return false;
    const auto deadline = Clock::now() + options_.writeDeadline;
    // The frame before must have left the port before this one is handed over.
    bool ok = waitUntilSent(deadline);
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(line_.get(), bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            ok = waitWritable(deadline);
        } else {
            lineLost();  // EIO, ENXIO: the adapter was pulled or the peer is gone
            ok = false;
        }
    }
    // Bytes that could not leave in time are dropped, so they cannot trail into a later frame.
    if (!ok)
        ::tcflush(line_.get(), TCOFLUSH);
    return ok;
}

bool PosixSerialPort::drain() {
    if (!line_.valid())
        return false;
    if (lost_) {
        // A pseudo-terminal's peer (a simulator that ends after the closing frame) takes the queue with it
        // when it closes, so the queue can no longer be asked: every frame it was handed went out before it
        // ended (a write after the hang-up fails). A real port that vanished may have kept bytes back.
        int queued = 0;
        return pseudoTerminal_ || (::ioctl(line_.get(), TIOCOUTQ, &queued) == 0 && queued == 0);
    }
    if (waitUntilSent(Clock::now() + options_.writeDeadline))
        return true;
    ::tcflush(line_.get(), TCOFLUSH);
    return false;
}

}  // namespace

std::unique_ptr<SerialPort> makePosixSerialPort(EventLoop& loop, const PortMap& ports,
                                                const PosixSerialOptions& options) {
    return std::make_unique<PosixSerialPort>(loop, ports, options);
}

std::unique_ptr<SerialPort> makePosixSerialPort(EventLoop& loop, const PortMap& ports) {
    return makePosixSerialPort(loop, ports, PosixSerialOptions{});
}

}  // namespace pnl
