#pragma once
// The residents as a spreadsheet file from a script:
//   pnl-setup --folder DIR --export FILE [LEVEL]   writes every resident (as the page "Bewohnerübersicht")
//   pnl-setup --folder DIR --import FILE [--dry-run] [LEVEL]
// The import prints its preview (every row that is new, changed or an error, with its line) and a summary.
// Without --dry-run it imports into fresh working copies and commits them as "Ja" at the end of a run does.
// Both take the folder's lock and refuse while the program runs on the folder. Without a level the access
// code is asked for on the terminal.

#include <iosfwd>
#include <string>

#include "cli/probe_access.h"

namespace pnl {

class Program;

inline constexpr int kFileCommandDone = 0;
inline constexpr int kFileCommandBadFile = 1;  // the import file has errors; nothing changed
inline constexpr int kFileCommandCouldNotRun = 2;

int RunExportCommand(Program& caller, const std::string& file, const std::string& levelText,
                     std::ostream& out, const CodePrompt& askCode);
int RunImportCommand(Program& caller, const std::string& file, bool dryRun, const std::string& levelText,
                     std::ostream& out, const CodePrompt& askCode);

}  // namespace pnl
