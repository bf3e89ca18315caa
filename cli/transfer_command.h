#pragma once
// The headless transfer for scripted maintenance: "pnl-setup --folder DIR [--port COMn=PATH] --transfer LIST
// [--dry-run] [--check] [LEVEL]", LIST being station numbers separated by commas, "all" (every station with a
// label) or "changed". Sends the
// stations exactly the bytes and pauses of the transfer dialog, prints a line per station and per 10 % of its
// records with the time left, and prints every message the dialog would show.

#include <iosfwd>
#include <string>

#include "cli/probe_access.h"

namespace pnl {

class Program;
struct TransferResult;

inline constexpr int kTransferAllSent = 0;
inline constexpr int kTransferSomeFailed = 1;
inline constexpr int kTransferCouldNotRun = 2;

// Works on fresh working copies of the installation's database and settings file and changes no other file
// (nothing is logged, nothing is committed); refuses while the program runs on the same folder. Without a
// level (1 to 6) in levelText the access code is asked for, three tries at most. Returns kTransferAllSent
// when every chosen station got its residents (or had none), kTransferSomeFailed when any did not, and
// kTransferCouldNotRun after saying why the run did not start.
struct TransferCommandFlags {
    bool dryRun = false;         // print per chosen station what would change, send nothing (exit 0)
    bool checkPresence = false;  // ask each station on a direct line whether it answers before sending
};

// LIST "changed" chooses every station whose recorded state differs from what it would receive (never sent
// and incomplete ones included). The run ends with the summary of every chosen station.
// *result, when given, gets the outcome of every station sent (empty when none was).
int RunTransferCommand(Program& caller, const std::string& list, const std::string& levelText,
                       std::ostream& out, const CodePrompt& askCode, const TransferCommandFlags& flags = {},
                       TransferResult* resultOut = nullptr);

}  // namespace pnl
