#pragma once
// The interface editor: the list of port slots, the device list, and the page of the device
// kind recorded for the chosen port.

#include "link/interface_record.h"

namespace pnl {

// The tip of "Testen" while the station link runs through a modem.
inline constexpr const char* kTestNeedsDirectLine =
    "Der Test ist nur bei direkter Verbindung möglich: über ein Modem wird die PNL nicht gesucht.";

// The tip of "Testen" while no station is chosen and no serial number typed.
inline constexpr const char* kTestNeedsStation =
    "Wählen Sie zuerst eine PNL aus der Liste, oder geben Sie ihre Seriennummer ein: getestet wird diese "
    "PNL.";

class Program;
struct InterfaceWindowForm;

// Fills portChoice with the port slots COM1 to COM8, in ascending order; no port chosen afterwards. Every
// slot is offered, present or not: the device it stands for is chosen beside it.
void EnumeratePorts(InterfaceWindowForm& form);
// Refills deviceKind with "Kein Gerät" (kind 0) and "PNLXX Abgleich" (kind 30).
void BuildDeviceList(InterfaceWindowForm& form);
// Reads the chosen port's record and chooses its device kind, which shows that kind's page. A record of a
// kind this program does not offer chooses nothing and shows no page. Returns the record read.
InterfaceRecord LoadPortRecord(Program& program, InterfaceWindowForm& form);
// Shows the page of the chosen device kind and fills it from the chosen port's record. Another kind than the
// recorded one empties the record: the page then shows its defaults until the port is chosen again.
void ShowDevicePage(Program& program, InterfaceWindowForm& form, InterfaceRecord& portRecord);
// "Verbindung via Modem" ticked: the telephone field and the modem page show and the port test is off (a
// probe cannot run through a modem that has not dialled). Cleared: the reverse.
void ApplyModemRule(InterfaceWindowForm& form);
// "Testen" is on for the station link on a direct line with a station to look for (one chosen from the
// list, or a serial number typed); off otherwise, its tip saying why.
void ApplyTestRule(InterfaceWindowForm& form);

}  // namespace pnl
