#pragma once
// Runs a shell command line (a built program) and collects its standard output and exit status.

#include <string>

namespace pnl::test {

struct CommandRun {
    int status = -1;  // -1: did not run or did not exit normally
    std::string output;
};

CommandRun runShellCommand(const std::string& command);

}  // namespace pnl::test
