#pragma once
// Applying line settings, handshake and modem lines to an open terminal device. Part of the POSIX serial
// adapter.

#include <string>

#include "platform/serial_port.h"

namespace pnl::termios_line {

// Raw mode with the baud rate, parity, data and stop bits; handshake 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both.
// False (*error set) when the device refuses them or the baud rate is not one the system knows.
bool apply(int fd, const LineSettings& settings, int handshake, std::string* error);

// Raises or lowers DTR or RTS. A line without modem signals (a pseudo-terminal) accepts the request without
// effect. False only when the device itself fails (an adapter pulled out).
bool setDtr(int fd, bool on);
bool setRts(int fd, bool on);

// Carrier detect; off on a line without modem signals.
bool carrier(int fd);

// True when the device has sent every byte handed to it (driver buffer and transmitter empty).
bool allSent(int fd);

}  // namespace pnl::termios_line
