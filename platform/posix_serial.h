#pragma once
// Tuning of the POSIX termios adapter. The program uses makePosixSerialPort(loop, ports) from serial_port.h;
// tests and tools that need a shorter write deadline or another lock folder use these overloads.

#include <chrono>
#include <memory>
#include <string>

#include "platform/serial_port.h"

namespace pnl {

struct PosixSerialOptions {
    // How long output() may wait for its bytes to leave the port (flow control held, nothing attached).
    std::chrono::milliseconds writeDeadline{5000};
    // Where UUCP lock files (LCK..ttyS0) are kept; skipped when the folder is not writable.
    std::string lockFolder = "/var/lock";
};

std::unique_ptr<SerialPort> makePosixSerialPort(EventLoop& loop, const PortMap& ports,
                                                const PosixSerialOptions& options);
std::unique_ptr<PortQueries> makePosixPortQueries(const PortMap& ports, const PosixSerialOptions& options);

}  // namespace pnl
