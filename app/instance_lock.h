#pragma once
// One run per installation folder: a second start would overwrite the working copies that the first run uses.

#include <memory>
#include <string>

#include "platform/file_lock.h"

namespace pnl {

class Program;

// The lock file in the installation folder; it holds the process id of the run that owns the folder. Every
// user of the folder can take it.
inline constexpr const char* kLockFile = "PNLSETUP.LCK";

// Takes the installation folder's lock for this run and returns it (keep it until the program ends). When
// another run holds it, or the lock file cannot be opened (another user's file that this user may not write,
// no right to make it, a link), shows a box saying so, naming the file and its owner, and returns nothing:
// the program then ends without touching any file.
std::unique_ptr<FileLock> lockInstallation(Program& program);

// True when another run holds the lock of program.folder; *holder gets its note (the process id). The lock is
// taken and given up again on the way (a missing lock file is made, as any start makes it).
bool heldByAnotherRun(Program& program, std::string* holder);

// "Das Setupprogramm läuft bereits für die Anlage in FOLDER (Prozess N)."
std::string runningElsewhereText(const std::string& folder, const std::string& holder);

}  // namespace pnl
