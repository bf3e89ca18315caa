#pragma once
// The headless commands of pnl-setup (--list-ports, --probe, --transfer, --export, --import): they run on the
// terminal, on real time, with the message boxes' texts printed instead of shown.

#include <optional>

namespace pnl {

struct CommandLine;

// Runs the headless command the command line names and returns its exit status; nothing when it names none
// (the windowed program starts then).
std::optional<int> RunHeadlessCommand(const CommandLine& line);

}  // namespace pnl
