#include "overview/resident_overview.h"

#include "app/event_log.h"
#include "app/program.h"
#include "app/records.h"
#include "app/resident_table.h"
#include "app/text.h"

namespace pnl {
namespace {

std::string foldedSerials(std::int64_t serial) {
    if (serial <= 0)
        return {};
    return "\t" + std::to_string(serial) + "\t" + listedSerial(serial);
}

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        if (end > at)
            out.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return out;
}

}  // namespace

std::string foldForSearch(const std::string& text) {
    std::vector<char32_t> points = codePoints(text);
    for (char32_t& c : points)
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c += 0x20;
    return fromCodePoints(points);
}

OverviewRow overviewRow(ResidentTable& table, const std::vector<StationRecord>& stations) {
    Resident resident = table.current();
    OverviewRow row;
    row.id = resident.id.value_or(0);
    row.name = std::move(resident.name);
    row.firstName = std::move(resident.firstName);
    row.apartment = std::move(resident.apartment);
    row.serial = resident.serial.value_or(0);
    row.secondSerial = resident.secondSerial;
    row.code = resident.code;
    row.stations = resident.stations;
    row.display = displayName(row.name, row.firstName, stations, row.stations);
    row.searchText = foldForSearch(row.name + "\t" + row.firstName + "\t" + row.apartment) +
                     foldedSerials(row.serial) + foldedSerials(row.secondSerial);
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

std::vector<std::string> searchWords(const std::string& search) {
    return words(foldForSearch(search));
}

bool matchesWords(const OverviewRow& row, const std::vector<std::string>& words) {
    for (const std::string& word : words)
        if (row.searchText.find(word) == std::string::npos)
            return false;
    return true;
}

bool matchesSearch(const OverviewRow& row, const std::string& search) {
    return matchesWords(row, searchWords(search));
}

bool MayAssignStations(Program& program) {
    return readLevelRecord(program.settings, program.userLevel).kind != "B";
}

namespace {

enum class StationWrite { NotBegun, Failed, Saved };

// Writes the station of each resident in one transaction, which is over (committed or rolled back) on return,
// so no question to the user keeps the file locked.
StationWrite writeStationOfResidents(ResidentTable& table, const std::vector<std::int64_t>& ids, int station,
                                     bool assign, std::vector<std::string>* changedApartments) {
    ResidentTable::Transaction transaction(table);
    if (!transaction.began())
        return StationWrite::NotBegun;
    for (std::int64_t id : ids) {
        if (!table.findId(id))
            continue;
        const Resident resident = table.current();
        StationSet stations = resident.stations;
        if (stations.test(station) == assign)
            continue;
        stations.set(station, assign);
        if (!table.updateStations(stations))
            return StationWrite::Failed;
        changedApartments->push_back(resident.apartment);
    }
    return transaction.commit() ? StationWrite::Saved : StationWrite::Failed;
}

}  // namespace

std::optional<int> SetStationOfResidents(Program& program, const std::vector<std::int64_t>& ids, int station,
                                         bool assign) {
    ResidentTable* table = program.residents();
    if (!table || station < 0 || station >= kStationCount)
        return 0;
    std::vector<std::string> changedApartments;
    const StationWrite written = writeStationOfResidents(*table, ids, station, assign, &changedApartments);
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
    return static_cast<int>(changedApartments.size());
}

}  // namespace pnl
