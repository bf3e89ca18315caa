#pragma once
// The records of the display stations in the settings file: 64 slots "PNL00" to "PNL63" in section "PNLXXX",
// one StationRecord each ("PNL-B,Haupteingang,012345,,FALSE": type, label, serial number, modem telephone
// number, older firmware). An empty value is a free slot. The station editor, the resident page's station
// tree and the transfer all read them here.

#include <string>
#include <vector>

namespace pnl {

class Program;

inline constexpr const char* kStationSection = "PNLXXX";
inline constexpr int kStationSlots = 64;

struct StationRecord {
    int number = -1;             // StationNumber, 0 to 63
    std::string value;           // the stored value list, empty for a free slot
    std::string type;            // field 0, "PNL-A" ... "PNL-K"
    std::string label;           // field 1
    std::string serial;          // field 2, the serial number text as stored
    std::string phone;           // field 3, telephone number of the station's modem
    bool olderFirmware = false;  // field 4 upper-cased is "TRUE"

    bool inUse() const { return !value.empty(); }
    // Listed in the station lists and trees: in use and with a label.
    bool listed() const { return inUse() && !label.empty(); }
};

// "PNL07" for 7.
std::string stationKey(int number);
// The key of a station's node in a station tree: "S07" for 7.
std::string stationNodeKey(int number);
// The station number of a node key: its last two characters ("S07" -> 7).
int stationOfNodeKey(const std::string& key);

// The fields of a slot's stored value, as stored (no trimming); field 4 counts as "TRUE" in any case.
StationRecord parseStationRecord(int number, const std::string& value);
// The value list of a station: type, label, serial number, telephone number and "TRUE" or "FALSE".
std::string formatStationRecord(const StationRecord& record);

// Reads the record of a slot. A number outside 0 to 63 reads as a free slot.
StationRecord readStation(Program& program, int number);

// Every listed station in the order of its number.
std::vector<StationRecord> listedStations(Program& program);
// Their numbers, in their order.
std::vector<int> stationNumbers(const std::vector<StationRecord>& stations);

}  // namespace pnl
