#pragma once
// The command line of pnl-station-sim.

#include <optional>
#include <string>
#include <vector>

#include "tools/station_sim/simulator.h"

namespace pnl::sim {

struct ToolOptions {
    SimulatorSetup setup;
    std::string link;         // --link PATH: a symbolic link to the pseudo-terminal
    std::string jsonFile;     // --json FILE: the directories after every closing frame
    int exitAfterCloses = 0;  // --exit-after-close N; 0: run until stopped
    bool help = false;
    bool version = false;
};

// Reads the arguments (without the program name); nothing and *error when they are wrong.
std::optional<ToolOptions> parseToolOptions(const std::vector<std::string>& args, std::string* error);

std::string toolUsage();

}  // namespace pnl::sim
