#pragma once
// The resident overview: every resident of BEWOHNER with its stations, its name as the stations show it and
// what the resident search looks in, and the stations of many residents set at once.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/resident_fields.h"
#include "app/station_records.h"
#include "residents/station_name.h"

namespace pnl {

class Program;
class ResidentTable;

struct OverviewRow {
    std::int64_t id = 0;
    std::string name, firstName, apartment;
    std::int64_t serial = 0;        // 0: none
    std::int64_t secondSerial = 0;  // 0: none
    std::int64_t code = 0;          // 0: no code
    StationSet stations;
    NameDisplay display;
    std::string searchText;  // residentSearchText
};

struct Overview {
    std::vector<StationRecord> stations;  // the listed stations, one check column each
    std::vector<OverviewRow> rows;        // in table order
};

// Every resident of the table and every listed station. Walks the shared resident cursor from the first row
// and leaves it past the last.
Overview LoadOverview(Program& program);

// The columns of a row read from the table's current row.
OverviewRow overviewRow(ResidentTable& table, const std::vector<StationRecord>& stations);

// What an assignment did to the residents it was given.
struct StationChange {
    std::vector<std::int64_t> changed;    // the IDs whose assignment changed
    std::vector<std::int64_t> unchanged;  // the IDs that were (or were not) assigned already
};

// Assigns (or, with assign false, removes) the station for the residents with the given IDs, in one
// transaction on the working copy; each resident whose assignment changes gets the resident save's log line.
// Nothing when the write failed (a message box said so and nothing changed).
std::optional<StationChange> SetStationOfResidents(Program& program, const std::vector<std::int64_t>& ids,
                                                   int station, bool assign);

// Whether the level may set stations for residents: as on the resident page, where a level of kind "B" has
// the tab "Ort" disabled.
bool MayAssignStations(Program& program);

}  // namespace pnl
