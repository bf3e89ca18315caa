#pragma once
// The headless probe for scripted maintenance: "pnl-setup --folder DIR [--port COMn=PATH] --probe N [LEVEL]"
// probes station N of the station list on the port of the display-station data link, with the bytes and
// pauses of the port test, and prints the result.

#include <iosfwd>
#include <string>

#include "cli/probe_access.h"

namespace pnl {

class Program;

inline constexpr int kProbeFound = 0;
inline constexpr int kProbeNotFound = 1;
inline constexpr int kProbeCouldNotRun = 2;

// Reads the installation's settings file itself (never a working copy) and changes no file. Without a level
// (1 to 6) in levelText the access code is asked for, three tries at most. Returns kProbeFound,
// kProbeNotFound, or kProbeCouldNotRun after saying why (no such station, no data link port, port in use, no
// access, ...).
int RunProbeCommand(Program& program, const std::string& stationArg, const std::string& levelText,
                    std::ostream& out, const CodePrompt& askCode);

}  // namespace pnl
