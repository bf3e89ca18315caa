#pragma once
// The headless transfer for scripted maintenance: "pnl-setup --folder DIR [--port COMn=PATH] --transfer LIST
// [LEVEL]", LIST being station numbers separated by commas or "all" (every station with a label). Sends the
// stations exactly the bytes and pauses of the transfer dialog, prints a line per station and per 10 % of its
// records with the time left, and prints every message the dialog would show.

#include <iosfwd>
#include <string>

#include "cli/probe_access.h"

namespace pnl {

class Program;

inline constexpr int kTransferAllSent = 0;
inline constexpr int kTransferSomeFailed = 1;
inline constexpr int kTransferCouldNotRun = 2;

// Works on fresh working copies of the installation's database and settings file and changes no other file
// (nothing is logged, nothing is committed); refuses while the program runs on the same folder. Without a
// level (1 to 6) in levelText the access code is asked for, three tries at most. Returns kTransferAllSent
// when every chosen station got its residents (or had none), kTransferSomeFailed when any did not, and
// kTransferCouldNotRun after saying why the run did not start.
int RunTransferCommand(Program& program, const std::string& list, const std::string& levelText,
                       std::ostream& out, const CodePrompt& askCode);

}  // namespace pnl
