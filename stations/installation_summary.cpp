#include "stations/installation_summary.h"

#include <algorithm>

#include "app/installation_folder.h"
#include "app/program.h"
#include "app/resident_table.h"
#include "app/station_records.h"
#include "app/text.h"

namespace pnl {
namespace {

// The title the visualisation program shows for the building; the program itself keeps no name of its own.
constexpr const char* kTitleSection = "Visualisierung";
constexpr const char* kTitleKey = "Titel";

bool hasStatus(const InstallationSummary& summary, StationStatus status) {
    return std::any_of(summary.stations.begin(), summary.stations.end(),
                       [status](const StationSummary& s) { return s.status == status; });
}

std::string stateWord(StationStatus status) {
    switch (status) {
        case StationStatus::Current:
            return "aktuell";
        case StationStatus::Changed:
            return "geändert";
        case StationStatus::NeverSent:
            return "nie übertragen";
        case StationStatus::Incomplete:
            break;
    }
    return "unvollständig";
}

}  // namespace

bool InstallationSummary::anyChanged() const {
    return hasStatus(*this, StationStatus::Changed);
}
bool InstallationSummary::anyIncomplete() const {
    return hasStatus(*this, StationStatus::Incomplete);
}

std::string folderName(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string buildingName(Program& program) {
    if (!holdsInstallation(program.fs, program.folder))
        return folderName(program.folder);
    program.settings.setFileName(program.path(kSettingsFile));
    program.settings.setSection(kTitleSection);
    program.settings.setKey(kTitleKey);
    const std::string title = trim(program.settings.read());
    return title.empty() ? folderName(program.folder) : title;
}

InstallationSummary SummarizeInstallation(Program& program) {
    InstallationSummary summary;
    summary.folder = program.folder;
    summary.building = buildingName(program);
    if (!holdsInstallation(program.fs, program.folder)) {
        summary.missing = true;
        return summary;
    }

    std::string error;
    if (!program.useDatabase(Database::openReadOnly(program.path(kDatabaseFile), &error)))
        summary.problem = error.empty() ? "Die Tabelle BEWOHNER kann nicht gelesen werden." : error;
    else
        summary.residents = program.residents()->count();
    for (const StationRecord& record : listedStations(program)) {
        StationSummary station{record.number, record.label, StationStatus::NeverSent, std::nullopt};
        if (summary.problem.empty()) {
            const StationDifference difference = StationDifferenceOf(
                program, record.number, StationDirectoryOf(*program.residents(), record.number));
            station.status = difference.status;
            station.lastSent = difference.lastSent;
        } else if (const auto held = readStationState(program, record.number)) {
            station.status = held->complete ? StationStatus::Current : StationStatus::Incomplete;
            station.lastSent = held->sentAt;
        }
        summary.stations.push_back(station);
    }
    program.closeDatabase();
    return summary;
}

std::vector<std::string> summaryLines(const InstallationSummary& summary) {
    std::vector<std::string> lines;
    std::string head = summary.building + " – " + summary.folder + " – ";
    if (summary.missing) {
        lines.push_back(head + "fehlt");
        return lines;
    }
    head += summary.problem.empty() ? std::to_string(summary.residents) + " Bewohner" : summary.problem;
    head += ", " + std::to_string(summary.stations.size()) + " PNL";
    if (summary.anyChanged())
        head += ", geändert";
    if (summary.anyIncomplete())
        head += ", unvollständig";
    lines.push_back(head);
    for (const StationSummary& station : summary.stations) {
        // Without the residents the difference is unknown; only the station state files were read.
        std::string line = "  " + stationKey(station.number) + " " + station.label + ": " +
                           (summary.problem.empty() ? stateWord(station.status) : "Stand unbekannt");
        if (station.lastSent)
            line += ", zuletzt übertragen " + germanDateTime(*station.lastSent);
        lines.push_back(line);
    }
    return lines;
}

}  // namespace pnl
