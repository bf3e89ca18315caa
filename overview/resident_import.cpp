#include "overview/resident_import.h"

#include <array>
#include <map>
#include <unordered_map>

#include "app/event_log.h"
#include "app/program.h"
#include "app/station_records.h"
#include "app/text.h"
#include "overview/formula_cell.h"
#include "overview/resident_export.h"
#include "overview/resident_overview.h"
#include "platform/csv_file.h"
#include "platform/utf8.h"

namespace pnl {
namespace {

constexpr std::size_t kApartmentChars8 = 8;

enum Field : std::size_t { kId, kName, kFirstName, kApartment, kSerial, kSecondSerial, kCode, kFieldCount };

struct FieldName {
    const char* shown;               // the export's heading, named in messages
    std::vector<const char*> names;  // folded, without blanks, dots, hyphens and underscores
};

const std::array<FieldName, kFieldCount>& fieldNames() {
    static const std::array<FieldName, kFieldCount> names{{
        {"ID", {"id"}},
        {"Name", {"name", "nachname", "familienname", "zuname"}},
        {"Vorname", {"vorname"}},
        {"Wohnungsnr.",
         {"wohnungsnr", "wohnungsnummer", "wohnung", "wnr", "whg", "whgnr", "appartement", "apartment"}},
        {"Seriennr. 1", {"seriennr1", "seriennummer1", "seriennummer", "seriennr", "sernr", "snr", "snr1"}},
        {"Seriennr. 2", {"seriennr2", "seriennummer2", "sernr2", "snr2"}},
        {"Code", {"code", "zugangscode"}},
    }};
    return names;
}

std::string headingKey(const std::string& heading) {
    std::string key;
    for (char c : foldForSearch(trim(heading)))
        if (c != ' ' && c != '.' && c != '-' && c != '_' && c != '\t')
            key += c;
    return key;
}

// "pnl07..." names station 7.
std::optional<int> stationOfHeading(const std::string& key) {
    if (key.size() < 5 || key.compare(0, 3, "pnl") != 0 || !allDigits(key.substr(3, 2)))
        return std::nullopt;
    const int number = std::stoi(key.substr(3, 2));
    return number < kStationCount ? std::optional<int>(number) : std::nullopt;
}

struct Columns {
    std::array<std::optional<std::size_t>, kFieldCount> fields;
    std::vector<std::pair<int, std::size_t>> stations;  // station number, column
};

std::optional<Columns> findColumns(const std::vector<std::string>& headings, std::string* error) {
    Columns columns;
    std::map<int, std::size_t> stationColumns;
    for (std::size_t c = 0; c < headings.size(); ++c) {
        const std::string key = headingKey(headings[c]);
        if (key.empty())
            continue;
        if (auto station = stationOfHeading(key)) {
            if (!stationColumns.emplace(*station, c).second) {
                *error = "Die Spalte für " + stationKey(*station) + " steht zweimal in der Kopfzeile.";
                return std::nullopt;
            }
            continue;
        }
        for (std::size_t f = 0; f < kFieldCount; ++f) {
            for (const char* name : fieldNames()[f].names) {
                if (key != name)
                    continue;
                if (columns.fields[f]) {
                    *error = "Die Spalte \u201E" + std::string(fieldNames()[f].shown) +
                             "\u201C steht zweimal in der Kopfzeile.";
                    return std::nullopt;
                }
                columns.fields[f] = c;
            }
        }
    }
    for (Field required : {kName, kSerial, kApartment})
        if (!columns.fields[required]) {
            *error = "Die Spalte \u201E" + std::string(fieldNames()[required].shown) +
                     "\u201C fehlt in der Kopfzeile (erste Zeile) der Datei.";
            return std::nullopt;
        }
    columns.stations.assign(stationColumns.begin(), stationColumns.end());
    return columns;
}

// The text of the file as UTF-8; nothing and preview.fileError when it is no text.
std::optional<std::string> decodeText(const std::string& bytes, ImportPreview& preview) {
    if (bytes.empty()) {
        preview.fileError = "Die Datei ist leer.";
        return std::nullopt;
    }
    if (bytes.find('\0') != std::string::npos) {
        preview.fileError =
            "Die Datei ist keine Textdatei (CSV). Speichern Sie die Tabelle im Tabellenprogramm als "
            "\u201ECSV UTF-8\u201C oder \u201ECSV (Trennzeichen-getrennt)\u201C.";
        return std::nullopt;
    }
    std::string text = bytes;
    // Some programs write the mark again when they save a file that already had one.
    while (text.starts_with(kUtf8Bom))
        text.erase(0, 3);
    if (validUtf8(text)) {
        preview.encoding = "UTF-8";
        return text;
    }
    preview.encoding = "Windows-1252";
    return utf8FromWindows1252(text);
}

// Semicolon unless the first line holds more commas than semicolons.
char detectDelimiter(const std::string& text) {
    const std::string first = text.substr(0, text.find('\n'));
    const auto semicolons = std::count(first.begin(), first.end(), ';');
    const auto commas = std::count(first.begin(), first.end(), ',');
    return commas > semicolons ? ',' : ';';
}

std::string quotedText(const std::string& text) {
    return "\u201E" + text + "\u201C";
}

bool isTicked(const std::string& folded, bool* valid) {
    *valid = true;
    if (folded.empty() || folded == "0" || folded == "nein" || folded == "n" || folded == "-")
        return false;
    if (folded == "x" || folded == "1" || folded == "ja" || folded == "j")
        return true;
    *valid = false;
    return false;
}

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

class RowReader {
  public:
    RowReader(const Columns& columns, const CsvRecord& record) : columns_(columns), record_(record) {}

    std::string raw(Field field) const {
        const auto column = columns_.fields[field];
        return column ? cell(*column) : std::string();
    }
    // A cell the export wrote with an apostrophe against formulas reads as the text it stands for.
    std::string cell(std::size_t column) const {
        return column < record_.fields.size() ? cellText(record_.fields[column]) : std::string();
    }
    bool blank() const {
        for (const std::string& field : record_.fields)
            if (!trim(field).empty())
                return false;
        return true;
    }

  private:
    const Columns& columns_;
    const CsvRecord& record_;
};

std::string outOfRangeSerial(const char* which, const std::string& text) {
    return "Die " + std::string(which) + " " + quotedText(text) + " ist keine ganze Zahl von 1 bis 999999.";
}

// Reads one row into `out`; false with out.message when the row is in error.
bool readRow(const RowReader& reader, const Columns& columns, ImportRow& out,
             std::vector<std::pair<int, bool>>* stationValues) {
    for (std::size_t f = 0; f < kFieldCount; ++f) {
        const std::string value = reader.raw(static_cast<Field>(f));
        if (value.find_first_of("|\r\n") != std::string::npos) {
            out.message = "Das Feld " + quotedText(fieldNames()[f].shown) +
                          " enthält einen senkrechten Strich \u201E|\u201C oder einen Zeilenumbruch.";
            return false;
        }
    }
    std::vector<std::string> warnings;
    auto name = [&](Field field, std::string* target) {
        const std::string cleaned = cleanText(reader.raw(field));
        *target = storedName(cleaned);
        if (characterCount(cleaned) > kNameChars50)
            warnings.push_back(std::string(fieldNames()[field].shown) + " auf 50 Zeichen gekürzt");
    };
    name(kName, &out.row.name);
    name(kFirstName, &out.row.firstName);
    if (out.row.name.empty()) {
        out.message = "Der Name fehlt.";
        return false;
    }

    // Other programs write apartment numbers such as "A-12-345": only the length is the program's rule.
    const std::string apartment = cleanText(reader.raw(kApartment));
    if (apartment.empty()) {
        out.message = "Die Wohnungsnummer fehlt.";
        return false;
    }
    if (characterCount(apartment) > kApartmentChars8) {
        out.message = "Die Wohnungsnummer " + quotedText(apartment) + " ist länger als 8 Zeichen.";
        return false;
    }
    out.row.apartment = apartment;

    const std::string serial = trim(reader.raw(kSerial));
    if (serial.empty()) {
        out.message = "Die Seriennummer 1 fehlt.";
        return false;
    }
    if (!allDigits(serial) || serial.size() > 6 || leadingNumber(serial) < 1) {
        out.message = outOfRangeSerial("Seriennummer 1", serial);
        return false;
    }
    out.row.serial = leadingNumber(serial);

    const std::string second = trim(reader.raw(kSecondSerial));
    if (!second.empty() && (!allDigits(second) || second.size() > 6)) {
        out.message = outOfRangeSerial("Seriennummer 2", second);
        return false;
    }
    out.row.secondSerial = second.empty() ? 0 : leadingNumber(second);

    const std::string code = trim(reader.raw(kCode));
    if (!code.empty() && !allDigits(code)) {
        out.message = "Der Zugangscode " + quotedText(code) + " ist keine ganze Zahl von 0 bis 9999.";
        return false;
    }
    if (!code.empty() && (code.size() > 4 || leadingNumber(code) > kMaxCode)) {
        out.message = "Der Zugangscode " + quotedText(code) + " ist größer als 9999.";
        return false;
    }
    out.row.code = code.empty() ? 0 : leadingNumber(code);

    for (const auto& [station, column] : columns.stations) {
        bool valid = false;
        const bool ticked = isTicked(foldForSearch(trim(reader.cell(column))), &valid);
        if (!valid) {
            out.message = "In der Spalte " + stationKey(station) + " steht " +
                          quotedText(trim(reader.cell(column))) +
                          "; erlaubt sind \u201Ex\u201C (zugeordnet) oder ein leeres Feld.";
            return false;
        }
        stationValues->emplace_back(station, ticked);
    }
    for (const std::string& warning : warnings)
        out.message += (out.message.empty() ? "" : "; ") + warning;
    if (!out.message.empty())
        out.message = "Hinweis: " + out.message + ".";
    return true;
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
    ImportPreview preview;
    if (bytes.size() > kMaxImportBytes) {
        preview.fileError = "Die Datei ist mit " + std::to_string(bytes.size() / (std::size_t{1024} * 1024)) +
                            " MB zu groß für eine Bewohnerliste.";
        return preview;
    }
    const std::optional<std::string> text = decodeText(bytes, preview);
    if (!text)
        return preview;
    preview.delimiter = detectDelimiter(*text);
    std::string error;
    const auto records = readCsv(*text, preview.delimiter, &error);
    if (!records) {
        preview.fileError = error;
        return preview;
    }
    if (records->empty()) {
        preview.fileError = "Die Datei ist leer.";
        return preview;
    }
    if (records->size() - 1 > kMaxImportRows) {
        preview.fileError = "Die Datei hat " + std::to_string(records->size() - 1) +
                            " Zeilen; eingelesen werden höchstens " + std::to_string(kMaxImportRows) +
                            " Bewohner.";
        return preview;
    }
    const auto columns = findColumns(records->front().fields, &error);
    if (!columns) {
        preview.fileError = error;
        return preview;
    }

    for (const auto& [station, column] : columns->stations)
        if (!readStation(program, station).inUse())
            preview.unknownStationColumns.push_back(trim(records->front().fields[column]));

    const Existing existing = loadExisting(program);
    std::vector<bool> named(existing.rows.size(), false);
    std::unordered_map<std::int64_t, std::size_t> lineOfSerial, lineOfTarget;
    preview.rows.reserve(records->size() - 1);
    for (std::size_t r = 1; r < records->size(); ++r) {
        const CsvRecord& record = (*records)[r];
        const RowReader reader(*columns, record);
        if (reader.blank())
            continue;
        ImportRow row;
        row.line = record.line;
        std::vector<std::pair<int, bool>> stationValues;
        if (!readRow(reader, *columns, row, &stationValues)) {
            preview.rows.push_back(std::move(row));
            continue;
        }
        const std::string idText = trim(reader.raw(kId));
        if (!idText.empty() && !allDigits(idText)) {
            row.message = "Die ID " + quotedText(idText) + " ist keine ganze Zahl.";
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
        if (!idText.empty())
            if (auto found = existing.byId.find(leadingNumber(idText)); found != existing.byId.end())
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
        for (const auto& [station, ticked] : stationValues)
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
    std::string who = row.row.name;
    if (!row.row.firstName.empty())
        who += ", " + row.row.firstName;
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
