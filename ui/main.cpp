// The entry of pnl-setup: reads the command line, takes the installation folder's lock, and starts the
// windowed program at the level of the command line or with the password dialog; when the user opens another
// installation from "Anlagen", the program starts again on that folder in the same process.

#include <QApplication>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/installation_folder.h"
#include "cli/headless_command.h"
#include "cli/installations_command.h"
#include "platform/file_system.h"
#include "platform/user_settings.h"
#include "platform/version.h"
#include "ui/first_start_dialog.h"
#include "ui/german_translation.h"
#include "ui/screenshots.h"
#include "ui/setup_application.h"
#include "ui/windows_runs.h"

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
    pnl::ChosenInstallation firstStart;
    if (line.folder.empty()) {
        if (!screenshots.empty())
            pnl::ui::scheduleFirstStartScreenshots(QString::fromStdString(screenshots));
        pnl::ui::WindowsPlatform platform(line.ports, userSettings);
        firstStart = pnl::ui::askForInstallationFolder(platform.platform(), userSettings);
        line.folder = firstStart.folder;
    }
    if (line.folder.empty())
        return 0;
    const std::string folder = absoluteFolder(line.folder);
    rememberInstallation(userSettings, userFs, folder);
    pnl::ui::RunStarted photograph;
    if (!screenshots.empty())
        photograph = [folder = QString::fromStdString(screenshots)](pnl::ui::SetupApplication& setup,
                                                                    int run) {
            pnl::ui::scheduleScreenshots(setup, folder, run);
        };
    return pnl::ui::RunWindows(line.ports, userSettings, folder, line.levelText, photograph,
                               firstStart.accessCodes);
}
