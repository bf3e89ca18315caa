#pragma once
// The station editor of the interface window: choosing, creating, saving and deleting display stations in the
// 64 slots of the station list. "New" means that no station is chosen in stationChoice.

namespace pnl {

class Program;
struct InterfaceWindowForm;

// Loads the sorted station list and leaves the frame empty with no station chosen (the station page is
// shown).
void ShowStationList(Program& program, InterfaceWindowForm& form);
// Empties the frame for a new station, or says that all 64 slots are in use. Writes nothing.
void NewStation(Program& program, InterfaceWindowForm& form);
// Shows the record of the station chosen in stationChoice.
void SelectStation(Program& program, InterfaceWindowForm& form);
// Checks the frame and writes it to the chosen station's slot, or to the lowest free one for a new station.
void SaveStation(Program& program, InterfaceWindowForm& form);
// Frees the chosen station's slot.
void DeleteStation(Program& program, InterfaceWindowForm& form);
// "Version 2.7X" applies to the types PNL-A to PNL-C only.
void ApplyTypeRule(InterfaceWindowForm& form);

}  // namespace pnl
