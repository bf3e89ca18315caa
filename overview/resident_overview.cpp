#include "overview/resident_overview.h"

#include "app/access_codes.h"
#include "app/event_log.h"
#include "app/program.h"
#include "app/resident_table.h"
#include "app/text.h"
#include "residents/resident_search.h"

namespace pnl {
OverviewRow overviewRow(ResidentTable& table, const std::vector<StationRecord>& stations) {
    Resident resident = table.current();
    OverviewRow row;
    row.searchText = residentSearchText(resident);
    row.id = resident.id.value_or(0);
    row.name = std::move(resident.name);
    row.firstName = std::move(resident.firstName);
    row.apartment = std::move(resident.apartment);
    row.serial = resident.serial.value_or(0);
    row.secondSerial = resident.secondSerial;
    row.code = resident.code;
    row.stations = resident.stations;
    row.display = displayName(row.name, row.firstName, stations, row.stations);
    return row;
}

Overview LoadOverview(Program& program) {
    Overview overview;
    overview.stations = listedStations(program);
    ResidentTable* table = program.residents();
    if (!table || table->count() == 0)
        return overview;
    overview.rows.reserve(static_cast<std::size_t>(table->count()));
    for (table->moveFirst(); !table->eof(); table->moveNext())
        overview.rows.push_back(overviewRow(*table, overview.stations));
    return overview;
}

bool MayAssignStations(Program& program) {
    return !MayOnlyEditResidentData(program);
}

namespace {

enum class StationWrite { NotBegun, Failed, Saved };

// Writes the station of each resident in one transaction, which is over (committed or rolled back) on return,
// so no question to the user keeps the file locked.
StationWrite writeStationOfResidents(ResidentTable& table, const std::vector<std::int64_t>& ids, int station,
                                     bool assign, StationChange* change,
                                     std::vector<std::string>* changedApartments) {
    ResidentTable::Transaction transaction(table);
    if (!transaction.began())
        return StationWrite::NotBegun;
    for (std::int64_t id : ids) {
        if (!table.findId(id))
            continue;
        const Resident resident = table.current();
        StationSet stations = resident.stations;
        if (stations.test(station) == assign) {
            change->unchanged.push_back(id);
            continue;
        }
        stations.set(station, assign);
        if (!table.updateStations(stations))
            return StationWrite::Failed;
        change->changed.push_back(id);
        changedApartments->push_back(resident.apartment);
    }
    return transaction.commit() ? StationWrite::Saved : StationWrite::Failed;
}

}  // namespace

std::optional<StationChange> SetStationOfResidents(Program& program, const std::vector<std::int64_t>& ids,
                                                   int station, bool assign) {
    ResidentTable* table = program.residents();
    if (!table || station < 0 || station >= kStationCount)
        return StationChange{};
    StationChange change;
    std::vector<std::string> changedApartments;
    const StationWrite written =
        writeStationOfResidents(*table, ids, station, assign, &change, &changedApartments);
    if (written == StationWrite::NotBegun) {
        program.msgBox(
            "Die Bewohnerdaten konnten nicht geändert werden: die Datenbank ist nicht beschreibbar.",
            MsgIcon::Critical);
        return std::nullopt;
    }
    if (written == StationWrite::Failed) {
        program.msgBox("Die PNL-Zuordnung konnte nicht gesichert werden; die Bewohnerdaten sind unverändert.",
                       MsgIcon::Critical);
        return std::nullopt;
    }
    // The resident save's line, written once the change is in the file.
    for (const std::string& apartment : changedApartments)
        EventLog(program, "Bewohnerdatensatz: " + apartment + " wurde geaendert.");
    return change;
}

}  // namespace pnl
