#pragma once
// The serial port service: the program's one serial communications port (one port at a time, properties set
// before opening), the port queries, and the device behind each port slot.

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

// The device a port slot stands for by the user's choice: remembered by its stable path where it has one
// (/dev/serial/by-id/...), so that the same adapter is found again on another USB socket.
struct ChosenDevice {
    std::string path;
    // The adapter as the refusal names it when it is not plugged in ("FTDI FT232R (A10K3XYZ)"); empty for a
    // device named by hand or a built-in port.
    std::string adapter;
    bool operator==(const ChosenDevice&) const = default;
};

// The device behind each port slot COM1 to COM8: the command line's (--port, for one run), else the user's
// choice, else /dev/ttyS{n-1}. The serial port looks it up at each opening.
class PortMap {
  public:
    // "COM3=/dev/ttyUSB0" -> (3, "/dev/ttyUSB0"); nothing for anything else (ports 1 to 8 only).
    static std::optional<std::pair<int, std::string>> parseMapping(const std::string& text);
    void map(int number, std::string path) { paths_[number] = std::move(path); }
    bool isMapped(int number) const { return paths_.count(number) > 0; }
    void choose(int number, ChosenDevice device) { chosen_[number] = std::move(device); }
    void forget(int number) { chosen_.erase(number); }
    void setChoices(std::map<int, ChosenDevice> choices) { chosen_ = std::move(choices); }
    const std::map<int, ChosenDevice>& choices() const { return chosen_; }
    // The user's choice for COMn, also while the command line overrides it; nothing when there is none.
    std::optional<ChosenDevice> chosen(int number) const;
    // The device path of COMn.
    std::string pathOf(int number) const;
    // The built-in port COMn stands for without a choice: /dev/ttyS{n-1}.
    static std::string builtInPath(int number) { return "/dev/ttyS" + std::to_string(number - 1); }
    // The adapter COMn stands for in this run, for the refusal when it is absent; empty when the slot stands
    // for a path of the command line, a device named by hand or the default.
    std::string adapterOf(int number) const;

  private:
    std::map<int, std::string> paths_;
    std::map<int, ChosenDevice> chosen_;
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
    // Hands the bytes to the port, in order, as the buffered serial ports of the stations' era did: first
    // waits until every byte handed over before has left the port, then returns without waiting for these. So
    // a pause started after output() runs while the frame is on the wire. False on an error, or when the
    // earlier bytes could not leave within a few seconds (flow control held, adapter pulled): never hangs.
    virtual bool output(const std::string& bytes) = 0;
    // Returns once every byte handed over has left the port; false when they cannot within a few seconds.
    virtual bool drain() = 0;
    // True while the modem reports a connection; false on a line without modem signals.
    virtual bool carrierDetect() const = 0;
    // Received bytes are handed here through the event loop, every byte once and in order.
    virtual void setReceiveHandler(ReceiveHandler handler) = 0;
};

class PortQueries {
  public:
    virtual ~PortQueries() = default;
    // 2 when the port (1 = COM1) is in use by another program or process, 0 otherwise.
    virtual int status(int number) = 0;
    // For a port in use: what holds it, as a German phrase for the message ("Sperrdatei
    // /var/lock/LCK..ttyS0", "von einem anderen Programm geöffnet"); empty when not known.
    virtual std::string holder(int /*number*/) { return {}; }
};

// The POSIX termios adapter. Both look up each slot's device in `ports` whenever they use it: the map must
// outlive them.
std::unique_ptr<SerialPort> makePosixSerialPort(EventLoop& loop, const PortMap& ports);
std::unique_ptr<PortQueries> makePosixPortQueries(const PortMap& ports);

}  // namespace pnl
