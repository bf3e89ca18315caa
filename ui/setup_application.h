#pragma once
// The composition of the windowed program: the Program, the window models, the controllers and the Qt
// windows, wired together. start() begins the run: a level from the command line starts at once, otherwise
// the password dialog asks for the access code. Each page and window of the program has one marked place
// here.

#include <functional>
#include <memory>
#include <string>

#include "app/access_codes.h"
#include "app/backups_window.h"
#include "app/level_editor.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/startup.h"
#include "forms/backups_window.h"
#include "forms/info_dialog.h"
#include "forms/installations_window.h"
#include "forms/interface_window.h"
#include "forms/main_window.h"
#include "forms/password_dialog.h"
#include "forms/transfer_dialog.h"
#include "interfaces/interface_window.h"
#include "overview/overview_page.h"
#include "platform/user_settings.h"
#include "residents/resident_editor.h"
#include "stations/installations_window.h"
#include "stations/transfer_dialog.h"

namespace pnl::ui {

class PasswordDialogView;
class MainWindowView;
class LevelsPageView;
class InfoDialogView;
class TransferDialogView;
class BackupsWindowView;
class InstallationsWindowView;
class OverviewPageView;

struct SetupOptions {
    // The password dialog's idle time before the program ends.
    int passwordIdleMs = 20000;
    // Shows the project information dialog; by default modally on screen.
    std::function<void()> showProjectInfo;
    // Remembers where the main window was when the program ended, and opens it there; none: the first size.
    UserSettings* userSettings = nullptr;
};

class SetupApplication {
  public:
    SetupApplication(const Platform& platform, PortDevices& portDevices, std::string folder,
                     const SetupOptions& options = {});
    ~SetupApplication();
    SetupApplication(const SetupApplication&) = delete;
    SetupApplication& operator=(const SetupApplication&) = delete;

    // A level of 1 to 6 starts the program at that level without the password dialog; 0 shows the
    // dialog.
    void start(int commandLineLevel);
    // True once the program has ended (refused, cancelled, a fatal start-up error, or closed).
    bool ended() const { return ended_; }
    // The installation the user opened in "Anlagen" after the run ended; the program starts on it next.
    // Empty when the program ended otherwise.
    const std::string& nextFolder() const { return nextFolder_; }
    // Called once when the program ends; by default it leaves Qt's event loop.
    std::function<void()> onEnd;

    Program& program() { return program_; }
    PasswordDialogForm& passwordForm() { return passwordForm_; }
    MainWindowForm& mainForm() { return mainForm_; }
    InterfaceWindowForm& interfaceForm() { return interfaceForm_; }
    TransferDialogForm& transferForm() { return transferForm_; }
    InfoDialogForm& infoForm() { return infoForm_; }
    BackupsWindowForm& backupsForm() { return backupsForm_; }
    PasswordDialog& passwordDialog() { return password_; }
    MainWindowController& mainWindow() { return main_; }
    LevelEditor& levelEditor() { return levels_; }
    ResidentEditor& residentEditor() { return residents_; }
    OverviewPage& overviewPage() { return overview_; }
    OverviewPageView* overviewView() const { return overviewView_; }
    InterfaceWindowController& interfaceController() { return interfaces_; }
    TransferDialogController& transferController() { return transfer_; }
    BackupsWindowController& backupsController() { return backups_; }
    InstallationsWindowForm& installationsForm() { return installationsForm_; }
    InstallationsWindowController& installations() { return installations_; }
    InstallationsWindowView* installationsWindow() const { return installationsWindow_.get(); }

    PasswordDialogView* passwordWindow() const { return passwordDialogView_.get(); }
    MainWindowView* mainWindowView() const { return mainWindowView_.get(); }
    LevelsPageView* levelsView() const { return levelsView_; }
    InfoDialogView* infoWindow() const { return infoWindow_.get(); }
    TransferDialogView* transferWindow() const { return transferDialogView_.get(); }

    // Ends the program: every window closes, then onEnd runs.
    void endProgram();

  private:
    bool runStartUp();

    // The window models come first: the windows bound to them are destroyed before them.
    PasswordDialogForm passwordForm_;
    MainWindowForm mainForm_;
    InterfaceWindowForm interfaceForm_;
    TransferDialogForm transferForm_;
    InfoDialogForm infoForm_;
    BackupsWindowForm backupsForm_;
    InstallationsWindowForm installationsForm_;
    Program program_;

    PasswordDialog password_;
    LevelEditor levels_;
    MainWindowController main_;
    ResidentEditor residents_;
    OverviewPage overview_;
    InterfaceWindowController interfaces_;
    TransferDialogController transfer_;
    BackupsWindowController backups_;
    InstallationsWindowController installations_;
    StartUpSeams startUpSeams_;
    UserSettings* userSettings_;

    std::unique_ptr<PasswordDialogView> passwordDialogView_;
    std::unique_ptr<MainWindowView> mainWindowView_;
    LevelsPageView* levelsView_ = nullptr;
    OverviewPageView* overviewView_ = nullptr;
    std::unique_ptr<InfoDialogView> infoWindow_;
    std::unique_ptr<TransferDialogView> transferDialogView_;
    std::unique_ptr<BackupsWindowView> backupsWindow_;
    std::unique_ptr<InstallationsWindowView> installationsWindow_;
    bool ended_ = false;
    std::string nextFolder_;
};

}  // namespace pnl::ui
