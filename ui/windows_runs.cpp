#include "ui/windows_runs.h"

#include <QApplication>

#include "app/command_line.h"
#include "app/commit.h"
#include "app/instance_lock.h"
#include "ui/setup_application.h"

namespace pnl::ui {

WindowsPlatform::WindowsPlatform(PortMap& portMap, UserSettings& userSettings)
    : serial(makePosixSerialPort(loop, portMap)),
      ports(makePosixPortQueries(portMap)),
      discovery(makeUdevPortDiscovery(loop)),
      devices{*discovery, portMap, userSettings} {}

namespace {

struct RunEnd {
    int status = 0;
    std::string nextFolder;  // the installation opened in "Anlagen"; empty when the program ends
};

// One run on an installation folder, holding its lock until it ends.
RunEnd runOnce(PortMap& ports, UserSettings& settings, const std::string& folder,
               const std::string& levelText, const RunStarted& started, int run,
               const std::string& accessCodes) {
    WindowsPlatform windows(ports, settings);
    SetupOptions options;
    options.userSettings = &settings;
    SetupApplication setup(windows.platform(), windows.devices, folder, options);
    const auto lock = lockInstallation(setup.program());
    if (!lock)
        return {2, ""};
    if (FinishInterruptedCommit(setup.program()) == RecoveryOutcome::Unresolved)
        return {2, ""};

    if (!accessCodes.empty()) {
        setup.passwordForm().accessCodes.setCaption(accessCodes);
        setup.passwordForm().accessCodes.setVisible(true);
    }
    setup.start(levelFromCommandLine(levelText));
    if (started)
        started(setup, run);
    const int status = setup.ended() ? 0 : QApplication::exec();
    return {status, setup.nextFolder()};
}

}  // namespace

int RunWindows(PortMap& ports, UserSettings& settings, std::string folder, const std::string& levelText,
               const RunStarted& started, const std::string& accessCodes) {
    for (int run = 1;; ++run) {
        const RunEnd end =
            runOnce(ports, settings, folder, levelText, started, run, run == 1 ? accessCodes : "");
        if (end.nextFolder.empty())
            return end.status;
        folder = end.nextFolder;
    }
}

}  // namespace pnl::ui
