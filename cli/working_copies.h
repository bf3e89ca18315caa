#pragma once
// The working copies of a headless command: QBXDATA_COPY.MDB and ANLAGE99_COPY.INI made anew from the
// installation's files, the settings access on the copy and the resident cursor on the database copy.

#include <string>

namespace pnl {

class Program;

// The originals are only read. False and *why (German) when a copy cannot be made or opened.
bool openWorkingCopies(Program& program, std::string* why);

}  // namespace pnl
