#pragma once
// Runs a shell command line (a built program) and collects its standard output and exit status.

#include <cstdio>
#include <string>

namespace pnl::test {

struct CommandRun {
    int status = -1;  // -1: did not run or did not exit normally
    std::string output;
};

CommandRun runShellCommand(const std::string& command);

// A shell command started in the background, so that several run at once; finish() collects it.
class StartedCommand {
  public:
    explicit StartedCommand(const std::string& command);
    ~StartedCommand();
    StartedCommand(const StartedCommand&) = delete;
    StartedCommand& operator=(const StartedCommand&) = delete;

    // Waits for the command to end.
    CommandRun finish();

  private:
    std::FILE* pipe_;
};

}  // namespace pnl::test
