#pragma once
// Earlier versions: every successful commit keeps the pair it replaced in a folder of its own under backup/,
// named by the date and time of the commit; the newest 20 are kept.

#include <string>
#include <utility>
#include <vector>

namespace pnl {

class Program;

inline constexpr const char* kBackupFolder = "backup";
inline constexpr std::size_t kBackupsKept = 20;

// Moves the given files (name in the backup, current path) into a new folder backup/YYYY-MM-DD_hh-mm-ss and
// removes the oldest folders beyond 20. False (*why says why) when a file could not be kept; the files not
// moved stay where they were.
bool KeepPreviousPair(Program& program, const std::vector<std::pair<std::string, std::string>>& files,
                      std::string* why);

// The backup folders' names, oldest first.
std::vector<std::string> BackupFolders(Program& program);

struct BackupInfo {
    std::string folder;  // name under backup/
    std::string when;    // "06.12.2026 14:03:00"
    int residents = -1;  // rows of BEWOHNER; -1 when the database cannot be read
    int stations = 0;    // stations with a record
};

// The backups that hold both files, newest first.
std::vector<BackupInfo> ListBackups(Program& program);

// Copies the pair of a backup into the working copies, so that "Ja" at exit commits it and "Nein" discards
// it; the database copy is opened again and the restore logged. False when it could not (a box said why; the
// working copies are as they were).
bool RestoreBackup(Program& program, const std::string& folder);

}  // namespace pnl
