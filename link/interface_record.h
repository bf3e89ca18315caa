#pragma once
// The record of one serial port in section "Schnittstellen": which device hangs on the port ("COM1" to
// "COM8"; ports 9 and above are never read or written) and, for the display-station data link, its modem
// strings.

#include <optional>
#include <string>

namespace pnl {

class Program;

inline constexpr const char* kInterfaceSection = "Schnittstellen";
inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 8;

// Device kinds this program offers; the settings file may hold others, which are left as they are.
inline constexpr int kNoDevice = 0;
inline constexpr int kStationLink = 30;
inline constexpr const char* kNoDeviceName = "Kein Gerät";
inline constexpr const char* kStationLinkName = "PNLXX Abgleich";

// "COM3" for 3.
std::string portName(int port);
// The port number of a port name ("COM3" gives 3); 0 for anything that is not one of COM1 to COM8.
int portNumberOf(const std::string& name);

// The stored value of a port's record; empty for ports outside 1 to 8.
std::string readInterfaceRecord(Program& program, int port);
// Reads the port's record and splits it into program.fieldTable; returns its DeviceKind (the leading number
// of field 0, 0 when there is none).
int LoadInterfaceRecord(Program& program, int port);
// The DeviceKind held by program.fieldTable.
int DeviceKind(const Program& program);

// How many of COM1 to COM8, other than `exceptPort`, hold a record of device kind `kind`. Keeps the current
// key of the settings access; leaves program.fieldTable holding the split of COM8's record.
int CountPortsOfKind(Program& program, int kind, int exceptPort);

// The port that carries the display-station data link, as the transfer and the headless probe use it.
struct TransferLink {
    int port = 0;  // 1 to 8
    bool modem = false;
    std::string init;        // modem initialisation string 1 (modem only)
    std::string dialPrefix;  // modem dial prefix (modem only)
};
// The first of COM1 to COM8 whose trimmed record has field 0 exactly "30"; nothing when there is none.
std::optional<TransferLink> TransferPort(Program& program);

}  // namespace pnl
