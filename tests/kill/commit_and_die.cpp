// pnl-commit-and-die FOLDER N: runs the commit of the working copies in FOLDER as the program does at "Ja"
// and kills itself (SIGKILL, no clean-up of any kind) right after step N. N = 0 runs the commit to its end.
// Each step's name is printed as it completes. Exit status: 0 saved, 1 not saved, 3 unfinished, 2 bad call.

#include <signal.h>

#include <iostream>
#include <string>

#include "app/commit.h"
#include "app/program.h"
#include "platform/console_dialogs.h"
#include "platform/file_system.h"
#include "platform/poll_event_loop.h"
#include "platform/serial_port.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "Aufruf: pnl-commit-and-die ORDNER SCHRITT\n";
        return 2;
    }
    const int killAt = std::stoi(argv[2]);
    pnl::PosixFileSystem fs;
    pnl::PollEventLoop loop;
    pnl::ConsoleDialogs dialogs(std::cout);
    const pnl::PortMap portMap;
    const auto serial = pnl::makePosixSerialPort(loop, portMap);
    const auto ports = pnl::makePosixPortQueries(portMap);
    pnl::Program program(pnl::Platform{fs, loop, dialogs, *serial, *ports}, argv[1]);
    int steps = 0;
    const auto result = pnl::CommitWorkingCopies(program, [&](const std::string& step) {
        std::cout << step << std::endl;
        if (++steps == killAt)
            ::raise(SIGKILL);
    });
    std::cout << result.message << std::endl;
    switch (result.outcome) {
        case pnl::CommitOutcome::Saved:
            return 0;
        case pnl::CommitOutcome::NotSaved:
            return 1;
        case pnl::CommitOutcome::Unfinished:
            return 3;
    }
    return 2;
}
