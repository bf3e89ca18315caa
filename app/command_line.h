#pragma once
// The command line: --folder DIR, --port COMn=PATH (repeatable), --list-ports, --probe N, --transfer LIST
// (with --dry-run and --check), --export FILE, --import FILE (with --dry-run), --help, --version, then the
// level number.

#include <optional>
#include <string>
#include <vector>

#include "platform/serial_port.h"

namespace pnl {

struct CommandLine {
    std::string folder;  // default: the executable's folder
    bool folderGiven = false;
    bool help = false;
    bool version = false;
    // The device of each port slot: --port for this run, the user's choices (filled in by the caller).
    PortMap ports;
    bool listPorts = false;                 // --list-ports: the port slots and the serial devices of the PC
    std::optional<std::string> probe;       // station number to probe headless
    std::optional<std::string> transfer;    // station numbers separated by commas, "all" or "changed"
    std::optional<std::string> exportFile;  // write every resident to this spreadsheet file
    std::optional<std::string> importFile;  // read residents from this spreadsheet file
    // --folders FILE|DIR...: the transfer runs over every installation folder named, or listed one per line
    // in a FILE, one after the other.
    std::vector<std::string> folders;
    std::optional<std::string> reportFile;  // --report FILE: the summary of a run over many, as CSV
    bool listInstallations = false;         // --list-installations: the remembered installations and state
    bool dryRun = false;         // --dry-run: the transfer or import says what it would do, changes nothing
    bool checkPresence = false;  // --check: the transfer asks each station whether it answers
    std::string levelText;       // what remains: the level number text
    std::vector<std::string> errors;  // unknown options, missing or malformed values

    static CommandLine parse(const std::vector<std::string>& args, const std::string& executableFolder);
};

// What --help prints: the call, the options and the exit codes.
std::string commandLineHelp();

// The level of a command-line start: the text's leading number when it is 1 to 6, else 0 (password dialog).
int levelFromCommandLine(const std::string& text);

}  // namespace pnl
