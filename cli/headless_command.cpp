#include "cli/headless_command.h"

#include <algorithm>
#include <iostream>

#include "app/command_line.h"
#include "app/program.h"
#include "cli/list_ports_command.h"
#include "cli/probe_command.h"
#include "cli/resident_file_command.h"
#include "cli/transfer_command.h"
#include "platform/console_dialogs.h"
#include "platform/file_system.h"
#include "platform/poll_event_loop.h"
#include "platform/port_discovery.h"
#include "platform/serial_port.h"
#include "platform/terminal_prompt.h"

namespace pnl {
namespace {

template <typename Command>
int runHeadless(const CommandLine& line, Command command) {
    PosixFileSystem fs;
    PollEventLoop loop;
    ConsoleDialogs dialogs(std::cout);
    const auto serial = makePosixSerialPort(loop, line.ports);
    const auto ports = makePosixPortQueries(line.ports);
    Program program(Platform{fs, loop, dialogs, *serial, *ports}, line.folder);
    const int status = command(program);
    if (program.logProblem.empty())
        return status;
    // The work is done, but its record is not complete: a script must learn that.
    std::cerr << "pnl-setup: " << program.logProblem << " – Einträge dieses Laufs fehlen im Protokoll.\n";
    return std::max(status, 1);
}

}  // namespace

std::optional<int> RunHeadlessCommand(const CommandLine& line) {
    if (line.listPorts) {
        PollEventLoop loop;
        return RunListPortsCommand(line.ports, *makeUdevPortDiscovery(loop), std::cout);
    }
    if (line.probe)
        return runHeadless(line, [&](Program& program) {
            return RunProbeCommand(program, *line.probe, line.levelText, std::cout, readHiddenLine);
        });
    if (line.transfer)
        return runHeadless(line, [&](Program& program) {
            return RunTransferCommand(program, *line.transfer, line.levelText, std::cout, readHiddenLine,
                                      TransferCommandFlags{line.dryRun, line.checkPresence});
        });
    if (line.exportFile)
        return runHeadless(line, [&](Program& program) {
            return RunExportCommand(program, *line.exportFile, line.levelText, std::cout, readHiddenLine);
        });
    if (line.importFile)
        return runHeadless(line, [&](Program& program) {
            return RunImportCommand(program, *line.importFile, line.dryRun, line.levelText, std::cout,
                                    readHiddenLine);
        });
    return std::nullopt;
}

}  // namespace pnl
