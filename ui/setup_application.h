#pragma once
// The composition of the windowed program: the Program, the window models, the controllers and the Qt
// windows, wired together. Sub Main is start(): a level from the command line starts at once, otherwise the
// password dialog asks for the access code. Each page and window of the program has one marked place here.

#include <functional>
#include <memory>
#include <string>

#include "app/access_codes.h"
#include "app/backup_window.h"
#include "app/level_editor.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/startup.h"
#include "forms/frm_backups.h"
#include "forms/frm_com.h"
#include "forms/frm_copyright.h"
#include "forms/frm_pnl.h"
#include "forms/frm_pwd.h"
#include "forms/frm_setup.h"
#include "interfaces/frm_com_controller.h"
#include "overview/overview_page.h"
#include "residents/resident_editor.h"
#include "stations/frm_pnl_controller.h"

namespace pnl::ui {

class FrmPwdWindow;
class FrmSetupWindow;
class FrLevelsView;
class FrmCopyrightWindow;
class FrmPnlView;
class FrmBackupsWindow;
class FrOverviewView;

struct SetupOptions {
    // The password dialog's idle time before the program ends.
    int passwordIdleMs = 20000;
    // Shows the project information dialog; by default modally on screen.
    std::function<void()> showProjectInfo;
};

class SetupApplication {
  public:
    SetupApplication(const Platform& platform, PortDevices& portDevices, std::string folder,
                     SetupOptions options = {});
    ~SetupApplication();
    SetupApplication(const SetupApplication&) = delete;
    SetupApplication& operator=(const SetupApplication&) = delete;

    // Sub Main: a level of 1 to 6 starts the program at that level without the password dialog; 0 shows the
    // dialog.
    void start(int commandLineLevel);
    // True once the program has ended (refused, cancelled, a fatal start-up error, or closed).
    bool ended() const { return ended_; }
    // Called once when the program ends; by default it leaves Qt's event loop.
    std::function<void()> onEnd;

    Program& program() { return program_; }
    FrmPwd& passwordForm() { return pwdForm_; }
    FrmSetup& setupForm() { return setupForm_; }
    FrmCOM& interfaceForm() { return comForm_; }
    FrmPNL& transferForm() { return pnlForm_; }
    FrmCopyright& infoForm() { return infoForm_; }
    PasswordDialog& passwordDialog() { return password_; }
    MainWindowController& mainWindow() { return main_; }
    LevelEditor& levelEditor() { return levels_; }
    ResidentEditor& residentEditor() { return residents_; }
    OverviewPage& overviewPage() { return overview_; }
    FrOverviewView* overviewView() const { return overviewView_; }
    FrmCOMController& interfaceController() { return interfaces_; }
    FrmPnlController& transferController() { return transfer_; }

    FrmPwdWindow* passwordWindow() const { return pwdWindow_.get(); }
    FrmSetupWindow* setupWindow() const { return setupWindow_.get(); }
    FrLevelsView* levelsView() const { return levelsView_; }
    FrmCopyrightWindow* infoWindow() const { return infoWindow_.get(); }
    FrmPnlView* transferWindow() const { return pnlWindow_.get(); }

    // Ends the program: every window closes, then onEnd runs.
    void endProgram();

  private:
    bool runStartUp();

    // The window models come first: the windows bound to them are destroyed before them.
    FrmPwd pwdForm_;
    FrmSetup setupForm_;
    FrmCOM comForm_;
    FrmPNL pnlForm_;
    FrmCopyright infoForm_;
    FrmBackups backupsForm_;
    Program program_;

    PasswordDialog password_;
    LevelEditor levels_;
    MainWindowController main_;
    ResidentEditor residents_;
    OverviewPage overview_;
    FrmCOMController interfaces_;
    FrmPnlController transfer_;
    BackupWindowController backups_;
    StartUpSeams startUpSeams_;

    std::unique_ptr<FrmPwdWindow> pwdWindow_;
    std::unique_ptr<FrmSetupWindow> setupWindow_;
    FrLevelsView* levelsView_ = nullptr;
    FrOverviewView* overviewView_ = nullptr;
    std::unique_ptr<FrmCopyrightWindow> infoWindow_;
    std::unique_ptr<FrmPnlView> pnlWindow_;
    std::unique_ptr<FrmBackupsWindow> backupsWindow_;
    bool ended_ = false;
};

}  // namespace pnl::ui
