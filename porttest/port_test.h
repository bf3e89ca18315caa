#pragma once
// The button "Testen" of the interface window: probes the device chosen for the chosen port.

#include <cstdint>

namespace pnl {

class Program;
struct FrmCOM;

// Refused with a message while the port is held by another program or while a transfer or another test uses
// the serial line. Otherwise the port, device and test controls are off while the probe runs, the port is
// closed afterwards and the controls are given back.
void PortTest(Program& program, FrmCOM& form);
// The probe of the display-station data link: the station whose serial number the station frame shows.
void StationProbe(Program& program, FrmCOM& form, int port);

// Claims the serial line for a port test or a transfer while it lives; a second user finds
// program.serialLinkBusy set and is refused.
class SerialLinkClaim {
  public:
    explicit SerialLinkClaim(Program& program);
    ~SerialLinkClaim();
    SerialLinkClaim(const SerialLinkClaim&) = delete;
    SerialLinkClaim& operator=(const SerialLinkClaim&) = delete;

  private:
    Program& program_;
};

// True when a transfer or a port test holds the serial line or a pause is running.
bool SerialLinkInUse(const Program& program);

}  // namespace pnl
