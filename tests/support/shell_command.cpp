#include "support/shell_command.h"

#include <sys/wait.h>

namespace pnl::test {

StartedCommand::StartedCommand(const std::string& command) : pipe_(::popen(command.c_str(), "r")) {}

StartedCommand::~StartedCommand() {
    if (pipe_)
        finish();
}

CommandRun StartedCommand::finish() {
    CommandRun run;
    if (!pipe_)
        return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe_)) > 0)
        run.output.append(buffer, n);
    const int raw = ::pclose(pipe_);
    pipe_ = nullptr;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

CommandRun runShellCommand(const std::string& command) {
    return StartedCommand(command).finish();
}

}  // namespace pnl::test
