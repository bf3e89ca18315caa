#pragma once
// The serial port service: the program's one serial communications port (one port at a time, properties set
// before opening) and the two port queries. COMn maps to /dev/ttyS{n-1} unless the command line maps it.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/event_loop.h"

namespace pnl {

struct LineSettings {
    int baud = 9600;
    char parity = 'N';  // N, E, O, M or S
    int dataBits = 8;
    int stopBits = 1;
    // "9600,N,8,1"; nothing when the text is not a valid settings text.
    static std::optional<LineSettings> parse(const std::string& text);
    bool operator==(const LineSettings&) const = default;
};

class PortMap {
  public:
    // "COM3=/dev/ttyUSB0" -> (3, "/dev/ttyUSB0"); nothing for anything else (ports 1 to 8 only).
    static std::optional<std::pair<int, std::string>> parseMapping(const std::string& text);
    void map(int number, std::string path) { paths_[number] = std::move(path); }
    bool isMapped(int number) const { return paths_.count(number) > 0; }
    // The device path of COMn.
    std::string pathOf(int number) const;

  private:
    std::map<int, std::string> paths_;
};

class SerialPort {
  public:
    using ReceiveHandler = std::function<void(const std::string& bytes)>;

    virtual ~SerialPort() = default;

    virtual void setCommPort(int number) = 0;  // 1 = COM1
    virtual int commPort() const = 0;
    // False (and nothing changed) when the text is not a valid settings text.
    virtual bool setSettings(const std::string& text) = 0;
    virtual void setDTREnable(bool on) = 0;
    virtual void setRTSEnable(bool on) = 0;
    virtual void setHandshaking(int mode) = 0;  // 0 none, 3 RTS/CTS together with XON/XOFF
    virtual bool isOpen() const = 0;
    // Fails (false, *error set) for a missing port, a busy port or one that is no serial device.
    virtual bool open(std::string* error = nullptr) = 0;
    virtual void close() = 0;
    // Sends the bytes in order and returns once they have left the port. False on an error, or when they
    // could not leave within a few seconds (flow control held, adapter pulled): never hangs.
    virtual bool output(const std::string& bytes) = 0;
    // True while the modem reports a connection; false on a line without modem signals.
    virtual bool carrierDetect() const = 0;
    // Received bytes are handed here through the event loop, every byte once and in order.
    virtual void setReceiveHandler(ReceiveHandler handler) = 0;
};

class PortQueries {
  public:
    virtual ~PortQueries() = default;
    // A number above 0 when the port with this index (0 = COM1) exists on the PC.
    virtual int presence(int index) = 0;
    // 2 when the port (1 = COM1) is in use by another program or process, 0 otherwise.
    virtual int status(int number) = 0;
    // For a port in use: what holds it, as a German phrase for the message ("Sperrdatei
    // /var/lock/LCK..ttyS0", "von einem anderen Programm geöffnet"); empty when not known.
    virtual std::string holder(int /*number*/) { return {}; }
};

// The POSIX termios adapter.
std::unique_ptr<SerialPort> makePosixSerialPort(EventLoop& loop, const PortMap& ports);
std::unique_ptr<PortQueries> makePosixPortQueries(const PortMap& ports);

}  // namespace pnl
