#pragma once
// The resident overview: every resident of BEWOHNER with its stations and its name as the stations show it,
// a search over names, apartment and serial numbers, and the stations of many residents set at once.

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
    std::string searchText;  // folded name, first name, apartment and serial numbers
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

// Lower case (also Ä, Ö, Ü and the other Latin-1 capitals), so that a search ignores case.
std::string foldForSearch(const std::string& text);
// True when the row's name, first name, apartment number or one of its serial numbers (also as the six digits
// the lists show) holds the search text; every blank-separated word of it must match somewhere.
bool matchesSearch(const OverviewRow& row, const std::string& search);
// The same with the search already split into folded words (the table filters 20,000 rows per keystroke).
std::vector<std::string> searchWords(const std::string& search);
bool matchesWords(const OverviewRow& row, const std::vector<std::string>& words);

// Assigns (or, with assign false, removes) the station for the residents with the given IDs, in one
// transaction on the working copy; each resident whose assignment changes gets the resident save's log line.
// Returns how many changed; nothing when the write failed (a message box said so and nothing changed).
std::optional<int> SetStationOfResidents(Program& program, const std::vector<std::int64_t>& ids, int station,
                                         bool assign);

// Whether the level may set stations for residents: as on the resident page, where a level of kind "B" has
// the tab "Ort" disabled.
bool MayAssignStations(Program& program);

}  // namespace pnl
