#include "overview/resident_import.h"

#include <unordered_map>

#include "app/event_log.h"
#include "app/program.h"
#include "app/station_records.h"
#include "app/text.h"
#include "overview/resident_overview.h"

namespace pnl {
namespace {

struct Existing {
    std::vector<OverviewRow> rows;
    std::unordered_map<std::int64_t, std::size_t> byId;
    std::unordered_map<std::int64_t, std::size_t> bySerial;  // the first row in table order
};

Existing loadExisting(Program& program) {
    Existing existing;
    existing.rows = LoadOverview(program).rows;
    for (std::size_t i = 0; i < existing.rows.size(); ++i) {
        existing.byId.emplace(existing.rows[i].id, i);
        if (existing.rows[i].serial > 0)
            existing.bySerial.emplace(existing.rows[i].serial, i);
    }
    return existing;
}

bool sameResident(const OverviewRow& old, const Resident& row) {
    return storedName(old.name) == row.name && storedName(old.firstName) == row.firstName &&
           cleanText(old.apartment) == row.apartment && old.serial == row.serial.value_or(0) &&
           old.secondSerial == row.secondSerial && old.code == row.code && old.stations == row.stations;
}

}  // namespace

bool ImportPreview::importable() const {
    return fileError.empty() && count(ImportStatus::Error) == 0;
}

int ImportPreview::count(ImportStatus status) const {
    int n = 0;
    for (const ImportRow& row : rows)
        n += row.status == status ? 1 : 0;
    return n;
}

ImportPreview PreviewImport(Program& program, const std::string& bytes) {
    ResidentFile file = ReadResidentFile(bytes);
    ImportPreview preview;
    preview.fileError = std::move(file.fileError);
    preview.encoding = std::move(file.encoding);
    preview.delimiter = file.delimiter;
    if (!preview.fileError.empty())
        return preview;
    for (const auto& [station, heading] : file.stationColumns)
        if (!readStation(program, station).inUse())
            preview.unknownStationColumns.push_back(heading);

    const Existing existing = loadExisting(program);
    std::vector<bool> named(existing.rows.size(), false);
    std::unordered_map<std::int64_t, std::size_t> lineOfSerial, lineOfTarget;
    preview.rows.reserve(file.rows.size());
    for (ResidentFileRow& read : file.rows) {
        ImportRow row;
        row.line = read.line;
        row.message = std::move(read.message);
        row.row = std::move(read.resident);
        if (!read.valid) {
            preview.rows.push_back(std::move(row));
            continue;
        }
        const std::int64_t serial = *row.row.serial;  // a row without it is in error
        if (const auto [at, fresh] = lineOfSerial.emplace(serial, row.line); !fresh) {
            row.message = "Die Seriennummer 1 " + std::to_string(serial) + " steht schon in Zeile " +
                          std::to_string(at->second) + ".";
            preview.rows.push_back(std::move(row));
            continue;
        }
        std::optional<std::size_t> target;
        if (!read.id.empty())
            if (auto found = existing.byId.find(leadingNumber(read.id)); found != existing.byId.end())
                target = found->second;
        if (!target)
            if (auto found = existing.bySerial.find(serial); found != existing.bySerial.end())
                target = found->second;
        StationSet stations;
        if (target) {
            const OverviewRow& old = existing.rows[*target];
            if (const auto [at, fresh] = lineOfTarget.emplace(old.id, row.line); !fresh) {
                row.message = "Der Bewohner mit der ID " + std::to_string(old.id) + " steht schon in Zeile " +
                              std::to_string(at->second) + ".";
                preview.rows.push_back(std::move(row));
                continue;
            }
            named[*target] = true;
            stations = old.stations;
            row.targetId = old.id;
        }
        for (const auto& [station, ticked] : read.stations)
            stations.set(station, ticked);
        row.row.stations = stations;
        row.status = !target                                         ? ImportStatus::New
                     : sameResident(existing.rows[*target], row.row) ? ImportStatus::Unchanged
                                                                     : ImportStatus::Changed;
        preview.rows.push_back(std::move(row));
    }
    for (std::size_t i = 0; i < existing.rows.size(); ++i)
        if (!named[i]) {
            preview.missing.push_back(existing.rows[i].id);
            preview.missingNames.push_back(existing.rows[i].name);
        }
    return preview;
}

std::optional<std::string> ReadImportFile(Program& program, const std::string& path, std::string* error) {
    std::optional<std::string> bytes;
    if (program.fs.entryKind(path) != EntryKind::Missing && !program.fs.fileExists(path))
        *error =
            "Die Datei " + path +
            " ist keine gewöhnliche Datei (ein Ordner, ein Gerät oder eine Pipe) und kann nicht eingelesen "
            "werden.";
    else if (!(bytes = program.fs.readFile(path)))
        *error = "Die Datei " + path + " kann nicht gelesen werden (nicht vorhanden oder keine Leserechte).";
    return bytes;
}

ImportPreview PreviewImportFile(Program& program, const std::string& path) {
    ImportPreview preview;
    const std::optional<std::string> bytes = ReadImportFile(program, path, &preview.fileError);
    return bytes ? PreviewImport(program, *bytes) : preview;
}

std::string unknownStationsWarning(const ImportPreview& preview) {
    const auto& columns = preview.unknownStationColumns;
    if (columns.empty())
        return {};
    std::string names;
    for (const std::string& column : columns)
        names += (names.empty() ? "" : ", ") + quotedText(column);
    return (columns.size() == 1 ? "Die Spalte " + names + " gehört" : "Die Spalten " + names + " gehören") +
           " zu keiner angelegten PNL.";
}

std::string previewLine(const ImportRow& row) {
    std::string status;
    switch (row.status) {
        case ImportStatus::New:
            status = "neu";
            break;
        case ImportStatus::Changed:
            status = "geändert";
            break;
        case ImportStatus::Unchanged:
            status = "unverändert";
            break;
        case ImportStatus::Error:
            return "Zeile " + std::to_string(row.line) + ": Fehler: " + row.message;
    }
    const std::string who = fullName(row.row.name, row.row.firstName);
    std::string line = "Zeile " + std::to_string(row.line) + ": " + status + ": " + who + " (Wohnung " +
                       row.row.apartment + ", Seriennr. " + std::to_string(row.row.serial.value_or(0)) + ")";
    if (!row.message.empty())
        line += " " + row.message;
    return line;
}

std::string previewSummary(const ImportPreview& preview, bool removeMissing) {
    if (!preview.fileError.empty())
        return preview.fileError;
    std::string summary = std::to_string(preview.count(ImportStatus::New)) + " neu, " +
                          std::to_string(preview.count(ImportStatus::Changed)) + " geändert, " +
                          std::to_string(preview.count(ImportStatus::Unchanged)) + " unverändert, " +
                          std::to_string(preview.count(ImportStatus::Error)) + " Fehler.";
    if (!preview.missing.empty())
        summary += " " + std::to_string(preview.missing.size()) + " Bewohner stehen nicht in der Datei und " +
                   (removeMissing ? "werden entfernt." : "bleiben erhalten.");
    if (preview.count(ImportStatus::Error) > 0)
        summary += " Die Datei enthält Fehler; es wird nichts eingelesen.";
    if (!preview.unknownStationColumns.empty())
        summary += " " + unknownStationsWarning(preview);
    return summary;
}

bool ApplyImport(Program& program, const ImportPreview& preview, bool removeMissing, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why + " Die Bewohnerdaten sind unverändert.";
        return false;
    };
    if (!preview.importable())
        return fail(previewSummary(preview, removeMissing));
    ResidentTable* table = program.residents();
    if (!table)
        return fail("Die Datenbank ist nicht beschreibbar.");
    ResidentTable::Transaction transaction(*table);
    if (!transaction.began())
        return fail("Die Datenbank ist nicht beschreibbar.");
    std::vector<std::string> logLines;
    bool ok = true;
    for (const ImportRow& row : preview.rows) {
        if (row.status == ImportStatus::New)
            ok = table->insert(row.row).written;
        else if (row.status == ImportStatus::Changed)
            ok = table->findId(*row.targetId) && table->update(row.row);
        else
            continue;
        if (!ok)
            break;
        logLines.push_back("Bewohnerdatensatz: " + row.row.apartment + " wurde geaendert.");
    }
    for (std::size_t i = 0; ok && removeMissing && i < preview.missing.size(); ++i) {
        ok = table->findId(preview.missing[i]) && table->deleteCurrent();
        logLines.push_back("Bewohnerdatensatz: " + preview.missingNames[i] + " geloescht.");
    }
    if (!ok || !transaction.commit())
        return fail("Die Bewohner konnten nicht gesichert werden.");
    for (const std::string& line : logLines)
        EventLog(program, line);
    return true;
}

}  // namespace pnl
