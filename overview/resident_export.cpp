#include "overview/resident_export.h"

#include "app/program.h"
#include "overview/export_target.h"
#include "overview/formula_cell.h"
#include "overview/resident_overview.h"
#include "platform/csv_file.h"

namespace pnl {
namespace {

constexpr char kDelimiter = ';';

std::string numberOrEmpty(std::int64_t value) {
    return value > 0 ? std::to_string(value) : std::string();
}

}  // namespace

std::string stationColumn(const StationRecord& station) {
    return stationKey(station.number) + " " + station.label;
}

std::vector<std::string> exportHeaders(const std::vector<StationRecord>& stations) {
    std::vector<std::string> headers{"ID",          "Name",        "Vorname", "Wohnungsnr.",
                                     "Seriennr. 1", "Seriennr. 2", "Code"};
    for (const StationRecord& station : stations)
        headers.push_back(stationColumn(station));
    return headers;
}

std::string ExportText(const Overview& overview) {
    std::string text = kUtf8Bom;
    text.reserve(overview.rows.size() * 160);
    text += csvLine(exportHeaders(overview.stations), kDelimiter);
    std::vector<std::string> fields;
    for (const OverviewRow& row : overview.rows) {
        fields = {std::to_string(row.id),         neutralisedCell(row.name), neutralisedCell(row.firstName),
                  neutralisedCell(row.apartment), numberOrEmpty(row.serial), numberOrEmpty(row.secondSerial),
                  numberOrEmpty(row.code)};
        for (const StationRecord& station : overview.stations)
            fields.push_back(row.stations.test(station.number) ? "x" : "");
        text += csvLine(fields, kDelimiter);
    }
    return text;
}

bool ExportResidents(Program& program, const std::string& path, int* count, std::string* error) {
    if (std::string refused = exportTargetRefusal(program, path); !refused.empty()) {
        if (error)
            *error = std::move(refused);
        return false;
    }
    const Overview overview = LoadOverview(program);
    std::string why;
    if (!program.fs.writeFileAtomic(path, ExportText(overview), &why)) {
        if (error)
            *error = "Die Datei " + path + " konnte nicht geschrieben werden: " + why;
        return false;
    }
    if (count)
        *count = static_cast<int>(overview.rows.size());
    return true;
}

}  // namespace pnl
