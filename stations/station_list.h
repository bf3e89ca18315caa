#pragma once
// The display-station list of the station editor: free slots and the sorted list of labels. The records
// themselves are read through app/station_records.h.

#include <cstdint>
#include <string>
#include <vector>

#include "app/station_records.h"

namespace pnl {

class ComboBox;
class Program;

// Serial numbers fit the six digits of the serial number field; 0 is no station.
inline constexpr std::int64_t kHighestSerialNumber = 999999;

// The lowest free slot, or kStationSlots when all 64 are in use.
int LowestFreeSlot(Program& program);

// Fills a (sorted) list with the labels of the listed stations, each carrying its number as item data.
void LoadStationList(Program& program, ComboBox& list);

}  // namespace pnl
