#include "app/backup_difference.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>

#include "app/backups.h"
#include "app/program.h"
#include "app/resident_table.h"
#include "app/station_records.h"
#include "app/text.h"
#include "platform/collation.h"
#include "platform/database.h"
#include "platform/folder.h"

namespace pnl {

namespace {

// The program's columns of one row as the resident page shows them (numbers without leading zeros, empty for
// none), matched across the two files by ID.
struct StoredResident {
    std::string name, firstName, apartment, serial, secondSerial, code;
    StationSet stations;
};

std::string numberText(std::int64_t number) {
    return number == 0 ? std::string() : std::to_string(number);
}

// The residents of a database opened read-only, by ID; nothing when table BEWOHNER cannot be read.
std::optional<std::map<std::int64_t, StoredResident>> readResidents(const std::string& path) {
    std::string why;
    const auto db = Database::openReadOnly(path, &why);
    if (!db)
        return std::nullopt;
    ResidentTable table(*db);
    if (!table.bound())
        return std::nullopt;
    std::map<std::int64_t, StoredResident> residents;
    for (table.moveFirst(); !table.eof(); table.moveNext()) {
        const Resident r = table.current();
        if (r.id)
            residents[*r.id] = {trim(r.name),
                                trim(r.firstName),
                                trim(r.apartment),
                                numberText(r.serial.value_or(0)),
                                numberText(r.secondSerial),
                                numberText(r.code),
                                r.stations};
    }
    return residents;
}

std::string fullName(const StoredResident& r) {
    return pnl::fullName(r.name, r.firstName);
}

std::string titleOf(const StoredResident& r) {
    return fullName(r) + (r.apartment.empty() ? "" : " (Wohnung " + r.apartment + ")");
}

// Today's station labels, read once for the whole comparison; the station's key where it has none.
using StationLabels = std::array<std::string, kStationSlots>;

StationLabels stationLabels(Program& program) {
    StationLabels labels;
    for (int number = 0; number < kStationSlots; ++number) {
        const StationRecord station = readStation(program, number);
        labels[static_cast<std::size_t>(number)] = station.label.empty() ? stationKey(number) : station.label;
    }
    return labels;
}

// The labels of the stations assigned.
std::string stationNames(const StationLabels& labels, const StationSet& stations) {
    std::string names;
    for (std::size_t number = 0; number < labels.size(); ++number)
        if (stations.test(number))
            names += (names.empty() ? "" : ", ") + labels[number];
    return names.empty() ? "keine" : names;
}

// The values that differ, each named: "Wohnungsnummer A005" and "Wohnungsnummer C001".
std::pair<std::string, std::string> differingValues(const StationLabels& labels, const StoredResident& before,
                                                    const StoredResident& now) {
    std::string was, is;
    auto add = [&](const char* what, const std::string& a, const std::string& b) {
        if (a == b)
            return;
        was += std::string(was.empty() ? "" : "; ") + what + " " + (a.empty() ? "–" : a);
        is += std::string(is.empty() ? "" : "; ") + what + " " + (b.empty() ? "–" : b);
    };
    add("Name", fullName(before), fullName(now));
    add("Wohnungsnummer", before.apartment, now.apartment);
    add("Seriennummer 1", before.serial, now.serial);
    add("Seriennummer 2", before.secondSerial, now.secondSerial);
    add("Code", before.code, now.code);
    if (before.stations != now.stations)
        add("PNL", stationNames(labels, before.stations), stationNames(labels, now.stations));
    return {was, is};
}

}  // namespace

BackupDifference DifferenceFromBackup(Program& program, const std::string& folder) {
    BackupDifference difference;
    std::string why;
    const auto backup = openBackup(program, folder, &why);
    if (!backup || backup->kind(kDatabaseFile) != EntryKind::File)
        return difference;
    const auto before = readResidents(backup->resolvedPath() + "/" + kDatabaseFile);
    // Today's working copy as saved: every change of the resident page is written at once.
    const auto now = readResidents(program.path(kDatabaseCopy));
    if (!before || !now)
        return difference;
    difference.readable = true;

    const StationLabels labels = stationLabels(program);
    std::vector<std::pair<CollationKey, ResidentDifference>> rows;
    for (const auto& [id, was] : *before) {
        const auto it = now->find(id);
        if (it == now->end()) {
            rows.push_back({collationKey(fullName(was)), {titleOf(was), "vorhanden", "gelöscht"}});
            continue;
        }
        auto [inBackup, today] = differingValues(labels, was, it->second);
        if (!inBackup.empty() || !today.empty())
            rows.push_back({collationKey(fullName(it->second)), {titleOf(it->second), inBackup, today}});
    }
    for (const auto& [id, is] : *now)
        if (!before->contains(id))
            rows.push_back({collationKey(fullName(is)), {titleOf(is), "nicht vorhanden", "neu"}});
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& row : rows)
        difference.residents.push_back(std::move(row.second));

    const auto settingsBefore = backup->read(kSettingsFile);
    const auto settingsNow = program.fs.readFile(program.path(kSettingsCopy));
    difference.settingsDiffer = settingsBefore != settingsNow;
    return difference;
}

}  // namespace pnl
