#pragma once
// Earlier versions: every successful commit keeps the pair it replaced in a folder of its own under backup/,
// named by the date and time of the commit; the newest 20 are kept. backup/ and its folders are worked on
// through their own descriptors: a link there, named like a backup or not, is never followed, counted or
// removed, and a backup is checked before it is offered or restored.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pnl {

class Folder;
class Program;

inline constexpr const char* kBackupFolder = "backup";
inline constexpr std::size_t kBackupsKept = 20;

// One file of a pair to keep: its name in the installation folder and its name in the backup.
struct KeptFile {
    std::string name;
    std::string nameInBackup;
};

// Keeps the files of a replaced pair, entries of `installation`, in a new folder backup/YYYY-MM-DD_hh-mm-ss
// as one step: the folder is filled under a temporary name (second names of the files, or copies), flushed
// and then renamed into place, so that a crash leaves either the whole pair there or no backup folder; then
// the oldest folders beyond 20 are removed. A pair that the newest backup already holds is not kept twice.
// When no backup can be made, the files are renamed to NAME.vorher-YYYY-MM-DD_hh-mm-ss in the installation
// folder and false is returned with *why saying why and where they lie. `afterStep` hears each file put into
// the unfinished folder (tests stop the process there).
bool KeepPreviousPair(Program& program, Folder& installation, const std::vector<KeptFile>& files,
                      std::string* why, const std::function<void(const std::string&)>& afterStep = {});

// Removes what a crash left of a backup folder under its temporary name (the pair's files, then the folder).
void RemoveUnfinishedBackups(Folder& installation);

// The backup folders' names (folders, not links, named by their time), oldest first.
std::vector<std::string> BackupFolders(Program& program);

struct BackupInfo {
    std::string folder;  // name under backup/
    std::string when;    // "06.12.2026 14:03:00"
    int residents = 0;   // rows of BEWOHNER
    int stations = 0;    // stations with a record
};

// The backups that can be restored, newest first: both files there (files, not links), the database readable
// with table BEWOHNER and the program's columns, the settings file readable.
std::vector<BackupInfo> ListBackups(Program& program);

// The backup folder `name` under backup/, opened through the installation folder's descriptor (no link
// followed); nothing with *why set when it cannot be.
std::unique_ptr<Folder> openBackup(Program& program, const std::string& name, std::string* why);

// Checks the backup again and copies its pair into the working copies, so that "Ja" at exit commits it and
// "Nein" discards it; the database copy is opened again and the restore logged. False when it could not (a
// box said why; the working copies are as they were).
bool RestoreBackup(Program& program, const std::string& folder);

}  // namespace pnl
