#pragma once
// What a backup would bring back: the residents whose program columns differ between the backup's
// QBXDATA.MDB and today's working copy (matched by ID), and whether the settings differ.

#include <string>
#include <vector>

namespace pnl {

class Program;

// One resident that differs, as the window "Sicherungen" lists it.
struct ResidentDifference {
    std::string resident;  // "Name, Vorname (Wohnung A001)"
    std::string inBackup;  // the differing values in the backup, or "nicht vorhanden"
    std::string now;       // the same values today, or "gelöscht"
};

struct BackupDifference {
    bool readable = false;
    std::vector<ResidentDifference> residents;  // in German order of the resident
    bool settingsDiffer = false;
};

BackupDifference DifferenceFromBackup(Program& program, const std::string& folder);

}  // namespace pnl
