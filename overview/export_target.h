#pragma once
// Where an export may write: a new file or a plain file of the user's, never one of the files the
// installation keeps (QBXDATA.MDB, ANLAGE99.INI, their working copies, the lock, the station states, the
// commit record, the log, the backups), however the path names it.

#include <string>

namespace pnl {

class Program;

// True for a name the program keeps in an installation folder, or one of the files made beside them while
// they are written (compared without regard to case, as on the file systems the other programs share).
bool isInstallationFile(const std::string& name);

// Why the export may not write to `path` (German); empty when it may.
std::string exportTargetRefusal(Program& program, const std::string& path);

}  // namespace pnl
