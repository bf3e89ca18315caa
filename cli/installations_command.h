#pragma once
// The commands over the installations of a technician: "pnl-setup --list-installations" prints every
// installation this user has opened with its state; "pnl-setup --folders FILE|DIR... --transfer LIST
// [--check]
// [--dry-run] [--report FILE] [LEVEL]" runs the headless transfer for each installation in turn, each with
// its own lock, working copies and station state files, and ends with one summary of every station.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/probe_access.h"
#include "cli/transfer_command.h"
#include "platform/serial_port.h"

namespace pnl {

struct CommandLine;
class UserSettings;

// Runs --list-installations or --folders when the command line names one and returns its exit status; nothing
// otherwise. The folders are taken as given (the caller makes them absolute).
std::optional<int> RunInstallationsCommand(const CommandLine& line, UserSettings& settings);

// Prints each folder's summary (a vanished one as "fehlt"). Returns 0.
int RunListInstallations(const std::vector<std::string>& folders, std::ostream& out);

struct ManyTransferRequest {
    std::vector<std::string> folders;  // installation folders, or files listing folders one per line
    std::string list;                  // the stations of each installation: numbers, "all" or "changed"
    std::string levelText;
    TransferCommandFlags flags;
    PortMap ports;           // one PC, one line: the same mapping for every installation
    std::string reportFile;  // empty: no CSV report
};

// Exit status: 0 every station sent (or nothing to send), 1 any station failed, 2 any installation could not
// run (a folder in use by the program is skipped and counts so); the others still run. Each installation
// that ran is remembered in the user's list.
int RunTransferOverFolders(const ManyTransferRequest& request, UserSettings& settings, std::ostream& out,
                           const CodePrompt& askCode);

}  // namespace pnl
