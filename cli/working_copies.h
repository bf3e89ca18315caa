#pragma once
// What every headless command on an installation does before its work: both files present, the access level,
// the folder's lock, an interrupted commit settled, and fresh working copies (QBXDATA_COPY.MDB and
// ANLAGE99_COPY.INI made anew from the installation's files, the settings access on the copy and the resident
// cursor on the database copy).

#include <iosfwd>
#include <memory>
#include <string>

#include "cli/probe_access.h"

namespace pnl {

class FileLock;
class Program;

// The originals are only read. The database copy passes the start-up's checks (a table in its base form gets
// the station column). False and *why (German) when a copy cannot be made or fails them.
bool openWorkingCopies(Program& program, std::string* why);

// Checks the files and the access code (prompted on `out` when `levelText` is empty), takes the folder's
// lock, settles an interrupted commit and opens the working copies. Returns the lock, held for the command's
// run; null with *why when the command cannot run (*why is empty when the lock or the recovery refused and
// has said why already).
std::unique_ptr<FileLock> openInstallation(Program& program, const std::string& levelText, std::ostream& out,
                                           const CodePrompt& askCode, std::string* why);

}  // namespace pnl
