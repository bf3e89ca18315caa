// pnl-commit-and-die FOLDER N [--working-copy]: runs the commit of the working copies in FOLDER as the
// program does at "Ja" (or, with --working-copy, makes the database working copy as a start does) and kills
// itself (SIGKILL, no clean-up of any kind) right after step N. N = 0 runs to the end. Each step's name is
// printed as it completes. Exit status: 0 saved (made), 1 not saved (not made), 3 unfinished, 2 bad call.

#include <signal.h>

#include <iostream>
#include <string>

#include "app/commit.h"
#include "app/program.h"
#include "app/startup.h"
#include "platform/console_dialogs.h"
#include "platform/file_system.h"
#include "platform/poll_event_loop.h"
#include "platform/serial_port.h"

int main(int argc, char** argv) {
    const bool workingCopy = argc == 4 && std::string(argv[3]) == "--working-copy";
    if (argc != 3 && !workingCopy) {
        std::cerr << "Aufruf: pnl-commit-and-die ORDNER SCHRITT [--working-copy]\n";
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
    const auto afterStep = [&](const std::string& step) {
        std::cout << step << std::endl;
        if (++steps == killAt)
            ::raise(SIGKILL);
    };
    if (workingCopy) {
        std::string message;
        const bool made = pnl::MakeDatabaseWorkingCopy(program, &message, afterStep);
        std::cout << message << std::endl;
        return made ? 0 : 1;
    }
    const auto result = pnl::CommitWorkingCopies(program, afterStep);
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
