#pragma once
// The windowed program on an installation folder, and then on each installation the user opens from
// "Anlagen", one run after the other in this process. Each run has its own event loop, serial port, lock and
// working copies, as a new start of the program would; the lock of one is given up before the next is taken.

#include <functional>
#include <memory>
#include <string>

#include "app/program.h"
#include "interfaces/port_device_choice.h"
#include "platform/file_system.h"
#include "platform/port_discovery.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/serial_port.h"
#include "platform/user_settings.h"

namespace pnl::ui {

// The platform of one run (or of the first-start dialog): the timers of a run end with its event loop.
struct WindowsPlatform {
    WindowsPlatform(PortMap& portMap, UserSettings& userSettings);
    Platform platform() { return Platform{fs, loop, dialogs, *serial, *ports}; }

    PosixFileSystem fs;
    QtEventLoop loop;
    QtDialogs dialogs;
    std::unique_ptr<SerialPort> serial;
    std::unique_ptr<PortQueries> ports;
    std::unique_ptr<PortDiscovery> discovery;
    PortDevices devices;
};

class SetupApplication;

// Called once a run has started, before Qt's event loop runs it; `run` counts from 1.
using RunStarted = std::function<void(SetupApplication& setup, int run)>;

// Runs the windows on `folder` at the level of the command line (empty: the password dialog asks). Returns
// the exit status of the last run: 0 when it ended normally, 2 when it could not start (another run holds the
// folder, an interrupted commit was left unsettled). The main window opens where the user left it
// (`settings`). `accessCodes`, those of a sample written just now, show in the first run's password dialog.
int RunWindows(PortMap& ports, UserSettings& settings, std::string folder, const std::string& levelText,
               const RunStarted& started = {}, const std::string& accessCodes = {});

}  // namespace pnl::ui
