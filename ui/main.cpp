// The entry of pnl-setup: reads the command line, takes the installation folder's lock, and starts the
// windowed program at the level of the command line or with the password dialog.

#include <QApplication>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/commit.h"
#include "app/installation_folder.h"
#include "app/instance_lock.h"
#include "cli/headless_command.h"
#include "cli/installations_command.h"
#include "interfaces/port_device_choice.h"
#include "platform/file_system.h"
#include "platform/port_discovery.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/serial_port.h"
#include "platform/user_settings.h"
#include "platform/version.h"
#include "ui/first_start_dialog.h"
#include "ui/german_translation.h"
#include "ui/screenshots.h"
#include "ui/setup_application.h"

namespace {

std::string executableFolder(const char* argv0) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return self.parent_path().string();
    return std::filesystem::absolute(argv0, error).parent_path().string();
}

// Removes "--screenshots DIR" (an option of the screenshot script, not of the program's users) from the
// arguments.
std::string takeScreenshotFolder(std::vector<std::string>& args) {
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--screenshots") {
            std::string folder = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            return folder;
        }
    }
    return {};
}

// Folders are remembered and run by their absolute path, whatever the working folder of the call.
std::string absoluteFolder(const std::string& folder) {
    std::error_code error;
    const auto path = std::filesystem::absolute(folder, error);
    return error ? folder : path.lexically_normal().string();
}

// The installations list keeps every folder the program opens, window or headless.
void rememberInstallation(pnl::UserSettings& settings, const pnl::FileSystem& fs, const std::string& folder) {
    if (pnl::holdsInstallation(fs, folder))
        settings.rememberInstallation(absoluteFolder(folder));
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const std::string screenshots = takeScreenshotFolder(args);
    const std::string programFolder = executableFolder(argv[0]);
    pnl::CommandLine line = pnl::CommandLine::parse(args, programFolder);
    if (line.help || line.version) {
        std::cout << (line.help ? pnl::commandLineHelp() : pnl::versionLine("pnl-setup") + "\n");
        return 0;
    }
    if (!line.errors.empty()) {
        for (const auto& error : line.errors)
            std::cerr << "pnl-setup: " << error << '\n';
        std::cerr << pnl::commandLineHelp();
        return 2;
    }

    pnl::PosixFileSystem userFs;
    pnl::XdgUserSettings userSettings(userFs, pnl::XdgUserSettings::configFolderOfUser());
    // The devices chosen in the interface window; --port overrides them for this run.
    line.ports.setChoices(userSettings.portChoices());
    for (std::string& folder : line.folders)
        folder = absoluteFolder(folder);
    if (const std::optional<int> status = pnl::RunInstallationsCommand(line, userSettings))
        return *status;
    const pnl::FoundFolder found = pnl::findInstallationFolder(
        {line.folderGiven ? std::optional(line.folder) : std::nullopt, programFolder}, userFs, userSettings);
    line.folder = found.folder;
    if (found.folder.empty() && (line.probe || line.transfer || line.exportFile || line.importFile)) {
        std::cerr << "pnl-setup: " << pnl::noInstallationFolderMessage(found, userSettings) << '\n';
        return 2;
    }

    rememberInstallation(userSettings, userFs, line.folder);
    if (const std::optional<int> status = pnl::RunHeadlessCommand(line))
        return *status;

    QApplication application(argc, argv);
    if (!pnl::ui::loadGermanTranslation(application))
        std::cerr << "pnl-setup: Die deutsche Übersetzung der Qt-Dialoge fehlt (Paket "
                     "qt6-translations-l10n); Datei-Dialoge bleiben englisch.\n";
    pnl::PosixFileSystem fs;
    pnl::QtEventLoop loop;
    pnl::QtDialogs dialogs;
    const auto serial = pnl::makePosixSerialPort(loop, line.ports);
    const auto ports = pnl::makePosixPortQueries(line.ports);
    const auto discovery = pnl::makeUdevPortDiscovery(loop);
    pnl::PortDevices portDevices{*discovery, line.ports, userSettings};
    pnl::ChosenInstallation firstStart;
    if (line.folder.empty()) {
        if (!screenshots.empty())
            pnl::ui::scheduleFirstStartScreenshots(QString::fromStdString(screenshots));
        firstStart = pnl::ui::askForInstallationFolder(fs, dialogs, userSettings);
        line.folder = firstStart.folder;
    }
    if (line.folder.empty())
        return 0;
    rememberInstallation(userSettings, fs, line.folder);
    pnl::ui::SetupOptions options;
    options.userSettings = &userSettings;
    pnl::ui::SetupApplication setup(pnl::Platform{fs, loop, dialogs, *serial, *ports}, portDevices,
                                    line.folder, options);

    // A start that cannot run (another run holds the folder, an interrupted commit left unsettled) ends with
    // 2, as the headless commands do.
    const auto lock = pnl::lockInstallation(setup.program());
    if (!lock)
        return 2;
    if (pnl::FinishInterruptedCommit(setup.program()) == pnl::RecoveryOutcome::Unresolved)
        return 2;

    if (!firstStart.accessCodes.empty()) {
        setup.passwordForm().accessCodes.setCaption(firstStart.accessCodes);
        setup.passwordForm().accessCodes.setVisible(true);
    }
    setup.start(pnl::levelFromCommandLine(line.levelText));
    if (!screenshots.empty())
        pnl::ui::scheduleScreenshots(setup, QString::fromStdString(screenshots));
    if (setup.ended())
        return 0;
    return QApplication::exec();
}
