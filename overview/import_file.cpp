#include "overview/import_file.h"

#include <algorithm>
#include <array>
#include <map>

#include "app/station_records.h"
#include "app/text.h"
#include "overview/formula_cell.h"
#include "overview/resident_export.h"
#include "overview/resident_overview.h"
#include "platform/collation.h"
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

// The text of the file as UTF-8; nothing and file.fileError when it is no text.
std::optional<std::string> decodeText(const std::string& bytes, ResidentFile& file) {
    if (bytes.empty()) {
        file.fileError = "Die Datei ist leer.";
        return std::nullopt;
    }
    if (bytes.find('\0') != std::string::npos) {
        file.fileError =
            "Die Datei ist keine Textdatei (CSV). Speichern Sie die Tabelle im Tabellenprogramm als "
            "\u201ECSV UTF-8\u201C oder \u201ECSV (Trennzeichen-getrennt)\u201C.";
        return std::nullopt;
    }
    std::string text = bytes;
    // Some programs write the mark again when they save a file that already had one.
    while (text.starts_with(kUtf8Bom))
        text.erase(0, 3);
    if (validUtf8(text)) {
        file.encoding = "UTF-8";
        return text;
    }
    file.encoding = "Windows-1252";
    return utf8FromWindows1252(text);
}

// Semicolon unless the first line holds more commas than semicolons.
char detectDelimiter(const std::string& text) {
    const std::string first = text.substr(0, text.find('\n'));
    const auto semicolons = std::count(first.begin(), first.end(), ';');
    const auto commas = std::count(first.begin(), first.end(), ',');
    return commas > semicolons ? ',' : ';';
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
bool readRow(const RowReader& reader, const Columns& columns, ResidentFileRow& out) {
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
    name(kName, &out.resident.name);
    name(kFirstName, &out.resident.firstName);
    if (out.resident.name.empty()) {
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
    out.resident.apartment = apartment;

    const std::string serial = trim(reader.raw(kSerial));
    if (serial.empty()) {
        out.message = "Die Seriennummer 1 fehlt.";
        return false;
    }
    if (!allDigits(serial) || serial.size() > 6 || leadingNumber(serial) < 1) {
        out.message = outOfRangeSerial("Seriennummer 1", serial);
        return false;
    }
    out.resident.serial = leadingNumber(serial);

    const std::string second = trim(reader.raw(kSecondSerial));
    if (!second.empty() && (!allDigits(second) || second.size() > 6)) {
        out.message = outOfRangeSerial("Seriennummer 2", second);
        return false;
    }
    out.resident.secondSerial = second.empty() ? 0 : leadingNumber(second);

    const std::string code = trim(reader.raw(kCode));
    if (!code.empty() && !allDigits(code)) {
        out.message = "Der Zugangscode " + quotedText(code) + " ist keine ganze Zahl von 0 bis 9999.";
        return false;
    }
    if (!code.empty() && (code.size() > 4 || leadingNumber(code) > kMaxCode)) {
        out.message = "Der Zugangscode " + quotedText(code) + " ist größer als 9999.";
        return false;
    }
    out.resident.code = code.empty() ? 0 : leadingNumber(code);

    for (const auto& [station, column] : columns.stations) {
        bool valid = false;
        const bool ticked = isTicked(foldForSearch(trim(reader.cell(column))), &valid);
        if (!valid) {
            out.message = "In der Spalte " + stationKey(station) + " steht " +
                          quotedText(trim(reader.cell(column))) +
                          "; erlaubt sind \u201Ex\u201C (zugeordnet) oder ein leeres Feld.";
            return false;
        }
        out.stations.emplace_back(station, ticked);
    }
    for (const std::string& warning : warnings)
        out.message += (out.message.empty() ? "" : "; ") + warning;
    if (!out.message.empty())
        out.message = "Hinweis: " + out.message + ".";
    return true;
}

}  // namespace

std::string quotedText(const std::string& text) {
    return "\u201E" + text + "\u201C";
}

ResidentFile ReadResidentFile(const std::string& bytes) {
    ResidentFile file;
    if (bytes.size() > kMaxImportBytes) {
        file.fileError = "Die Datei ist mit " + std::to_string(bytes.size() / (std::size_t{1024} * 1024)) +
                         " MB zu groß für eine Bewohnerliste.";
        return file;
    }
    const std::optional<std::string> text = decodeText(bytes, file);
    if (!text)
        return file;
    file.delimiter = detectDelimiter(*text);
    std::string error;
    const auto records = readCsv(*text, file.delimiter, &error);
    if (!records) {
        file.fileError = error;
        return file;
    }
    if (records->empty()) {
        file.fileError = "Die Datei ist leer.";
        return file;
    }
    if (records->size() - 1 > kMaxImportRows) {
        file.fileError = "Die Datei hat " + std::to_string(records->size() - 1) +
                         " Zeilen; eingelesen werden höchstens " + std::to_string(kMaxImportRows) +
                         " Bewohner.";
        return file;
    }
    const auto columns = findColumns(records->front().fields, &error);
    if (!columns) {
        file.fileError = error;
        return file;
    }
    for (const auto& [station, column] : columns->stations)
        file.stationColumns.emplace_back(station, trim(records->front().fields[column]));

    file.rows.reserve(records->size() - 1);
    for (std::size_t r = 1; r < records->size(); ++r) {
        const CsvRecord& record = (*records)[r];
        const RowReader reader(*columns, record);
        if (reader.blank())
            continue;
        ResidentFileRow row;
        row.line = record.line;
        if (readRow(reader, *columns, row)) {
            row.id = trim(reader.raw(kId));
            row.valid = row.id.empty() || allDigits(row.id);
            if (!row.valid)
                row.message = "Die ID " + quotedText(row.id) + " ist keine ganze Zahl.";
        }
        file.rows.push_back(std::move(row));
    }
    return file;
}

}  // namespace pnl
