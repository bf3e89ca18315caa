#pragma once
// The working copies of a headless command: QBXDATA_COPY.MDB and ANLAGE99_COPY.INI made anew from the
// installation's files, the settings access on the copy and the resident cursor on the database copy.

#include <string>

namespace pnl {

class Program;

// The originals are only read. The database copy passes the start-up's checks (a table in its base form gets
// the station column). False and *why (German) when a copy cannot be made or fails them.
bool openWorkingCopies(Program& program, std::string* why);

}  // namespace pnl
