// pnl-station-sim: display stations on a pseudo-terminal. Prints the terminal's path first, then each
// station's directory after each closing frame and every malformed frame.

#include <cstdio>
#include <iostream>

#include "platform/file_system.h"
#include "platform/poll_event_loop.h"
#include "platform/pseudo_terminal.h"
#include "platform/stop_signals.h"
#include "platform/version.h"
#include "tools/station_sim/options.h"
#include "tools/station_sim/simulator.h"

namespace {

std::string printable(const std::string& bytes) {
    std::string text;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F) {
            text += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "<%02X>", c);
            text += escaped;
        }
    }
    return text;
}

int run(const pnl::sim::ToolOptions& options) {
    using namespace pnl;
    // Signals are taken over before the path is printed: whoever reads the path may stop the tool at once.
    PollEventLoop loop;
    bool stop = false;
    StopSignals signals(loop, [&] { stop = true; });
    std::string error;
    auto pty = PseudoTerminal::open(&error);
    if (!pty) {
        std::cerr << "Kein Pseudo-Terminal: " << error << "\n";
        return 2;
    }
    if (!options.link.empty() && !pty->link(options.link, &error)) {
        std::cerr << "Link nicht angelegt: " << error << "\n";
        return 2;
    }
    std::cout << pty->slavePath() << std::endl;

    PosixFileSystem fs;
    sim::Simulator simulator(loop, options.setup);
    bool faults = false;
    int closes = 0;

    simulator.setOutput([&](const std::string& bytes) {
        if (!pty->write(bytes))
            std::cerr << "Antwort nicht gesendet: " << printable(bytes) << std::endl;
    });
    simulator.setCarrierHandler(
        [](bool up) { std::cout << (up ? "Modem: Träger an" : "Modem: Träger aus") << std::endl; });
    simulator.setMalformedHandler([&](const sim::Malformed& bad) {
        faults = true;
        std::cout << "Fehlerhafter Rahmen: " << printable(bad.bytes) << " (" << bad.reason << ")"
                  << std::endl;
    });
    simulator.setClosedHandler([&](const sim::Directory& directory) {
        faults = faults || !directory.errors.empty();
        std::cout << sim::directoryText(directory) << std::flush;
        if (!options.jsonFile.empty() &&
            !fs.writeFileAtomic(options.jsonFile, sim::directoriesJson(simulator.directories())))
            std::cerr << "JSON-Datei nicht geschrieben: " << options.jsonFile << std::endl;
        if (options.exitAfterCloses > 0 && ++closes >= options.exitAfterCloses)
            stop = true;
    });
    loop.watchReadable(pty->masterFd(), [&] {
        const std::string bytes = pty->readAvailable();
        if (!bytes.empty())
            simulator.receive(bytes);
    });
    loop.processEventsUntil([&] { return stop; });
    return faults ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto options = pnl::sim::parseToolOptions(args, &error);
    if (!options) {
        std::cerr << error << "\n\n" << pnl::sim::toolUsage();
        return 2;
    }
    if (options->version) {
        std::cout << pnl::versionLine("pnl-station-sim") << "\n";
        return 0;
    }
    if (options->help) {
        std::cout << pnl::sim::toolUsage();
        return 0;
    }
    return run(*options);
}
