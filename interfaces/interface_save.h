#pragma once
// Saving the device chosen for a port as the port's record, under the rule that only one port carries the
// display-station data link.

namespace pnl {

class Program;
struct InterfaceWindowForm;

// Writes "" for "Kein Gerät", "30,FALSE" for a direct station link, "30,TRUE,<init 1>,<init 2>,<prefix>," for
// one through a modem. Only the chosen port's key changes; a refused save writes nothing.
void SaveInterface(Program& program, InterfaceWindowForm& form);

}  // namespace pnl
