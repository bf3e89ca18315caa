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

// The record of a port: "30,FALSE" for the station link on a direct line, "30,TRUE,init 1,init 2,dial
// prefix," through a modem, empty for no device. Records of kinds this program does not offer are read for
// their kind only and never written.
struct InterfaceRecord {
    // DeviceKind: the leading number of field 0 (blanks before it skipped; 0 when there is none; -1 when it
    // does not fit, so that it never equals an offered kind).
    int kind = kNoDevice;
    // Field 0 as stored: the transfer takes a port only when it is exactly "30" ("030" is kind 30 to the
    // editor, but not to the transfer).
    std::string kindText;
    bool modem = false;  // field 1 upper-cased is "TRUE"
    // Fields 2 to 4, read only with a modem.
    std::string init1, init2, dialPrefix;
};

// The fields of a stored value, as stored (no trimming).
InterfaceRecord parseInterfaceRecord(const std::string& value);
// The value the save writes for kind 30 ("30,FALSE", or "30,TRUE," and the three strings each followed by a
// comma) and for kind 0 (empty). Other kinds are never written.
std::string formatInterfaceRecord(const InterfaceRecord& record);

// The stored value of a port's record; empty for ports outside 1 to 8.
std::string readInterfaceValue(Program& program, int port);
// The port's record; no device for ports outside 1 to 8.
InterfaceRecord readInterfaceRecord(Program& program, int port);

// How many of COM1 to COM8, other than `exceptPort`, hold a record of device kind `kind`. Keeps the current
// section and key of the settings access.
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
