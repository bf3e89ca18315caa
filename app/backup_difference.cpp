#include "app/backup_difference.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "app/backups.h"
#include "app/program.h"
#include "app/station_records.h"
#include "app/text.h"
#include "platform/collation.h"
#include "platform/database.h"
#include "platform/folder.h"

namespace pnl {

namespace {

// The program's columns of one row, as text the way the resident page shows them.
struct StoredResident {
    std::string name, firstName, apartment, serial, secondSerial, code, stations;
};

// The column as the query names it: the table's own spelling is never pasted into the SQL, only ours
// (SQLite matches names without regard to case); NULL for a column the table lacks.
std::string columnOrNull(const std::vector<std::string>& columns, const char* wanted) {
    for (const auto& column : columns)
        if (upper(column) == upper(wanted))
            return wanted;
    return "NULL";
}

// Field 2 of AUSLOESUNG; empty when it is empty or 0.
std::string secondSerialOf(const std::string& trigger) {
    const std::size_t first = trigger.find(',');
    const std::size_t second = first == std::string::npos ? first : trigger.find(',', first + 1);
    if (second == std::string::npos)
        return {};
    const std::int64_t serial = leadingNumber(trigger.substr(second + 1));
    return serial == 0 ? std::string() : std::to_string(serial);
}

// A PNL value without its trailing "0"s: a table without the column and one with no station assigned are
// the same.
std::string assignedPart(const std::string& assignment) {
    return assignment.substr(0, assignment.find_last_not_of('0') + 1);
}

std::optional<std::map<std::int64_t, StoredResident>> readResidents(Database& db) {
    const auto columns = db.columns("BEWOHNER");
    if (columns.empty())
        return std::nullopt;
    const std::string id = columnOrNull(columns, "ID") == "NULL" ? "rowid" : "ID";
    std::string sql = "SELECT " + id;
    for (const char* column : {"Name", "Vorname", "Wnr", "sernr", "AUSLOESUNG", "code", "PNL"})
        sql += ", " + columnOrNull(columns, column);
    const auto rows = db.query(sql + " FROM BEWOHNER");
    if (!rows)
        return std::nullopt;
    std::map<std::int64_t, StoredResident> residents;
    for (const DbRow& row : *rows) {
        auto number = [&row](int i) {
            const std::int64_t value = leadingNumber(dbText(row.at(i)));
            return value == 0 ? std::string() : std::to_string(value);
        };
        residents[leadingNumber(dbText(row.at(0)))] = {trim(dbText(row.at(1))),
                                                       trim(dbText(row.at(2))),
                                                       trim(dbText(row.at(3))),
                                                       number(4),
                                                       secondSerialOf(dbText(row.at(5))),
                                                       number(6),
                                                       dbText(row.at(7))};
    }
    return residents;
}

std::string fullName(const StoredResident& r) {
    return r.firstName.empty() ? r.name : r.name + ", " + r.firstName;
}

std::string titleOf(const StoredResident& r) {
    return fullName(r) + (r.apartment.empty() ? "" : " (Wohnung " + r.apartment + ")");
}

// The labels of the stations a PNL value assigns, from today's station records.
std::string stationNames(Program& program, const std::string& assignment) {
    std::string names;
    for (int number = 0; number < static_cast<int>(assignment.size()) && number < kStationSlots; ++number) {
        if (assignment[static_cast<std::size_t>(number)] != '1')
            continue;
        const StationRecord station = readStation(program, number);
        names += (names.empty() ? "" : ", ") + (station.label.empty() ? stationKey(number) : station.label);
    }
    return names.empty() ? "keine" : names;
}

// The values that differ, each named: "Wohnungsnummer A005" and "Wohnungsnummer C001".
std::pair<std::string, std::string> differingValues(Program& program, const StoredResident& before,
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
    if (assignedPart(before.stations) != assignedPart(now.stations))
        add("PNL", stationNames(program, before.stations), stationNames(program, now.stations));
    return {was, is};
}

}  // namespace

BackupDifference DifferenceFromBackup(Program& program, const std::string& folder) {
    BackupDifference difference;
    std::string why;
    const auto backup = openBackup(program, folder, &why);
    if (!backup || backup->kind(kDatabaseFile) != EntryKind::File || !program.database)
        return difference;
    const auto backupDatabase = Database::openReadOnly(backup->resolvedPath() + "/" + kDatabaseFile, &why);
    const auto before = backupDatabase ? readResidents(*backupDatabase) : std::nullopt;
    const auto now = readResidents(*program.database);
    if (!before || !now)
        return difference;
    difference.readable = true;

    std::vector<std::pair<CollationKey, ResidentDifference>> rows;
    for (const auto& [id, was] : *before) {
        const auto it = now->find(id);
        if (it == now->end()) {
            rows.push_back({collationKey(fullName(was)), {titleOf(was), "vorhanden", "gelöscht"}});
            continue;
        }
        auto [inBackup, today] = differingValues(program, was, it->second);
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
