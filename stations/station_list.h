#pragma once
// The display-station list: 64 slots "PNL00" to "PNL63" in section "PNLXXX", one StationRecord each
// ("PNL-B,Haupteingang,012345,,FALSE": type, label, serial number, modem telephone number, older firmware).
// An empty value is a free slot.

#include <cstdint>
#include <string>
#include <vector>

namespace pnl {

class ComboBox;
class Program;

inline constexpr const char* kStationSection = "PNLXXX";
inline constexpr int kStationSlots = 64;
// Serial numbers fit the six digits of the serial number field; 0 is no station.
inline constexpr std::int64_t kHighestSerialNumber = 999999;

struct StationRecord {
    int number = -1;             // StationNumber, 0 to 63
    std::string value;           // the stored value list, empty for a free slot
    std::string type;            // field 0, "PNL-A" ... "PNL-K"
    std::string label;           // field 1
    std::string serial;          // field 2, the serial number text as stored
    std::string phone;           // field 3, telephone number of the station's modem
    bool olderFirmware = false;  // field 4 upper-cased is "TRUE"

    bool inUse() const { return !value.empty(); }
    // Listed in the station lists: in use and with a label.
    bool listed() const { return inUse() && !label.empty(); }
};

// "PNL07" for 7.
std::string stationKey(int number);

// Reads and splits the record of a slot (through program.FieldTable, which holds its split afterwards). A
// number outside 0 to 63 reads as a free slot.
StationRecord readStation(Program& program, int number);

// The lowest free slot, or kStationSlots when all 64 are in use.
int LowestFreeSlot(Program& program);

// Every listed station in the order of its number.
std::vector<StationRecord> listedStations(Program& program);

// Fills a (sorted) list with the labels of the listed stations, each carrying its number as item data.
void LoadStationList(Program& program, ComboBox& list);

}  // namespace pnl
