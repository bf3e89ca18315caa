#pragma once
// The button "Testen" of the interface window: probes the device chosen for the chosen port.

#include <cstdint>

namespace pnl {

// The caption of "Testen" while a port test runs.
inline constexpr const char* kTestRunningCaption = "Bitte warten …";

class Program;
struct InterfaceWindowForm;

// Refused with a message while the port is held by another program or while a transfer or another test uses
// the serial line. Otherwise the port, device and test controls are off while the probe runs, the port is
// closed afterwards and the controls are given back.
void PortTest(Program& program, InterfaceWindowForm& form);
// The probe of the display-station data link: the station whose serial number the station frame shows.
void StationProbe(Program& program, InterfaceWindowForm& form, int port);

}  // namespace pnl
