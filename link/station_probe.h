#pragma once
// The probe of a display station on the serial line: open the station with its select frame, wait 600 ms,
// send the query frame, collect for 2000 ms what comes back, report, then close the station again. A station
// is there when it answered the query with exactly 19 characters, the second of them "*".

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace pnl {

class Program;

inline constexpr const char* kProbeLineSettings = "9600,N,8,1";
inline constexpr int kSelectPauseMs = 600;
inline constexpr int kQueryPauseMs = 2000;
// After its closing select frame, before another frame goes out on the line (the transfer after a presence
// check): the pause a select frame gets.
inline constexpr int kProbeClosePauseMs = kSelectPauseMs;
inline constexpr const char* kProbeOpenCode = "01";
inline constexpr const char* kProbeCloseCode = "00";
// The answer of the port-status query for a port that another program holds.
inline constexpr int kPortInUse = 2;
inline constexpr const char* kPortInUseMessage = "Schnittstelle wird gegenwärtig genutzt. Kein Test möglich!";

// kPortInUseMessage, followed by what holds the port when the system tells it (a lock file, another program).
std::string PortInUseMessage(Program& program, int port);

// 0x01 "*0000" 0x04.
std::string QueryFrame();
bool IsValidAnswer(const std::string& received);
// "Die PNLXXX mit der Seriennr. <serial>" LF CR "wurde (nicht) am ausgewählten Port gefunden!"
std::string ProbeMessage(const std::string& serialText, bool found);

// While it lives, characters received on the program's serial port go into program.receiveBuffer, but only
// while a probe pause runs: what arrives at any other time is dropped.
class ProbeReceiver {
  public:
    explicit ProbeReceiver(Program& program);
    ~ProbeReceiver();
    ProbeReceiver(const ProbeReceiver&) = delete;
    ProbeReceiver& operator=(const ProbeReceiver&) = delete;

    void setListening(bool on) { listening_ = on; }

  private:
    Program& program_;
    bool listening_ = false;
};

// Sets port number, line settings, DTR, RTS and (when given) the handshake, in this order, then opens the
// port unless it is open (not when the line settings were refused). The port test ignores the result: a port
// that does not open simply receives nothing. Returns whether the port is open; *openError says why not.
bool PreparePort(Program& program, int port, const std::string& settings, bool dtr, bool rts,
                 std::optional<int> handshake, std::string* openError = nullptr);

// Pauses for the full interval: empties program.receiveBuffer at its start, then sends the frame (when one is
// given) and collects what is received until the interval has run out. False when another pause was running.
bool ProbeWait(Program& program, ProbeReceiver& receiver, int milliseconds, const std::string& frame = {});

// The exchange with the station of this serial number on the prepared, open port. `report` runs with the
// result before the closing select frame is sent. Returns whether the station answered.
bool ProbeStationOnLine(Program& program, std::uint32_t serialNumber,
                        const std::function<void(bool found)>& report);

}  // namespace pnl
