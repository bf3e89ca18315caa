#pragma once
// What the "Anlagen" list shows of one installation folder, read without changing anything: the building's
// name, its residents, its stations with the date of their last transfer and whether what they hold is
// still what they would receive. The settings file and the station state files are only read, the database
// is opened read-only; the original files are read, not a running program's working copies, so the list
// shows what was saved.

#include <optional>
#include <string>
#include <vector>

#include "stations/station_difference.h"

namespace pnl {

class Program;

struct StationSummary {
    int number = 0;
    std::string label;
    StationStatus status = StationStatus::NeverSent;
    std::optional<DateTime> lastSent;
};

struct InstallationSummary {
    std::string folder;
    std::string building;  // the visualisation's title in the settings file, else the folder's name
    bool missing = false;  // the folder, or its ANLAGE99.INI, is gone
    std::string problem;   // why the residents could not be read (German); empty when they were
    int residents = 0;
    std::vector<StationSummary> stations;

    bool anyChanged() const;
    bool anyIncomplete() const;
};

// The building's name: the last path element of a folder ("/srv/anlagen/Lindenhof" gives "Lindenhof").
std::string folderName(const std::string& folder);

// The building's name: the visualisation's title in ANLAGE99.INI of program.folder, else the folder's name.
// Reads the original settings file.
std::string buildingName(Program& program);

// Reads the installation in program.folder. Points program.settings at the original ANLAGE99.INI and opens
// QBXDATA.MDB read-only on program's database; the program must not be one that runs on the folder.
InstallationSummary SummarizeInstallation(Program& program);

// The summary as text lines: a head line ("Lindenhof – /srv/anlagen/Lindenhof – 41 Bewohner, 3 PNL",
// "… – fehlt") and one line per station ("  PNL00 Haupteingang: aktuell, zuletzt übertragen 06.12.2026
// 14:03").
std::vector<std::string> summaryLines(const InstallationSummary& summary);

}  // namespace pnl
