#include "ui/setup_application.h"

#include <QCoreApplication>
#include <QGroupBox>

#include "residents/resident_table.h"
#include "ui/binders.h"
#include "ui/fr_bewo_view.h"
#include "ui/fr_levels_view.h"
#include "ui/fr_overview_view.h"
#include "ui/frm_backups_window.h"
#include "ui/frm_com_view.h"
#include "ui/frm_copyright_window.h"
#include "ui/frm_pnl_view.h"
#include "ui/frm_pwd_window.h"
#include "ui/frm_setup_window.h"

namespace pnl::ui {

SetupApplication::SetupApplication(const Platform& platform, PortDevices& portDevices, std::string folder,
                                   SetupOptions options)
    : program_(platform, std::move(folder)),
      password_(program_, pwdForm_, options.passwordIdleMs),
      levels_(program_, setupForm_),
      main_(program_, setupForm_, comForm_, infoForm_, levels_),
      residents_(program_, setupForm_),
      overview_(program_, setupForm_),
      interfaces_(program_, comForm_, portDevices),
      transfer_(program_, pnlForm_),
      backups_(program_, backupsForm_) {
    onEnd = [] { QCoreApplication::quit(); };
    for (Window* window : std::initializer_list<Window*>{&pwdForm_, &setupForm_, &comForm_, &pnlForm_,
                                                         &backupsForm_, &infoForm_})
        window->setVisible(false);

    // --- Start-up ---
    startUpSeams_.prepareInterfaceEditor = [this] { interfaces_.Form_Load(); };
    startUpSeams_.bindResidentTable = [this] {
        program_.residents = std::make_shared<ResidentTable>(*program_.DataBewo);
        return program_.residents->bound();
    };
    startUpSeams_.openMainWindow = [this] { main_.Open(); };

    // --- Password dialog FrmPwd ---
    password_.seams.startUp = [this] { return runStartUp(); };
    password_.seams.endProgram = [this] { endProgram(); };
    pwdWindow_ = std::make_unique<FrmPwdWindow>(pwdForm_, password_);
    password_.seams.repaint = [this] { pwdWindow_->repaint(); };

    // --- Main window FrmSetup ---
    setupWindow_ = std::make_unique<FrmSetupWindow>(setupForm_, main_);
    setupWindow_->onClosed = [this] { endProgram(); };
    main_.seams.closeMainWindow = [this] { setupWindow_->close(); };
    main_.seams.residentCount = [this] { return program_.residents ? program_.residents->count() : 0; };

    // --- Page FrBewo (resident editor): the resident page view goes here. ---
    main_.seams.OpenResidentView = [this] { residents_.OpenResidentView(); };
    main_.seams.leavePage = [this] { return !setupForm_.FrBewo.visible() || residents_.leaveResident(); };
    setupWindow_->addPage(new FrBewoView(setupForm_, residents_));

    // --- Page "Bewohnerübersicht" ---
    overviewView_ = new FrOverviewView(setupForm_, overview_);
    setupWindow_->addPage(overviewView_);
    main_.seams.OpenOverview = [this] { overview_.Open(); };
    overviewView_->openResident = [this](std::int64_t id) {
        main_.Bewo_Click();
        // The resident page opens in the name mode; a resident without a name is not listed there.
        const int entry = setupForm_.CboBewo.findData(static_cast<std::int32_t>(id));
        if (entry >= 0) {
            setupForm_.CboBewo.setListIndex(entry);
            residents_.CboBewo_Click();
        }
    };

    // --- Page FrLevels (permission level editor) ---
    levelsView_ = new FrLevelsView(setupForm_, levels_);
    setupWindow_->addPage(levelsView_);

    // --- Interface window FrmCOM: its view goes here. ---
    // A child of the main window, so that it stays over it and goes with it.
    new FrmComView(comForm_, interfaces_, setupWindow_.get());
    main_.seams.interfaceWindowOpened = [this] { interfaces_.Form_Load(); };

    // --- Transfer dialog FrmPNL ---
    pnlWindow_ = std::make_unique<FrmPnlView>(pnlForm_, transfer_, setupWindow_.get());
    main_.seams.showTransferDialog = [this] {
        if (!pnlForm_.visible())
            transfer_.Form_Load();
        pnlForm_.setVisible(true);
    };

    // --- Window "Sicherungen" ---
    backupsWindow_ = std::make_unique<FrmBackupsWindow>(backupsForm_, backups_, setupWindow_.get());
    main_.seams.showBackups = [this] {
        backups_.Form_Load();
        backupsForm_.setVisible(true);
    };
    // The pages show the restored working copies.
    backups_.restored = [this] { main_.Bewo_Click(); };

    // --- Project information FrmCopyright ---
    infoWindow_ = std::make_unique<FrmCopyrightWindow>(infoForm_, setupWindow_.get());
    main_.seams.showProjectInfo = options.showProjectInfo
                                      ? options.showProjectInfo
                                      : std::function<void()>([this] { infoWindow_->exec(); });
}

SetupApplication::~SetupApplication() {
    // The windows go before the models and controllers they are bound to.
    infoWindow_.reset();
    backupsWindow_.reset();
    pnlWindow_.reset();
    setupWindow_.reset();
    pwdWindow_.reset();
}

void SetupApplication::start(int commandLineLevel) {
    if (commandLineLevel >= 1 && commandLineLevel <= 6) {
        program_.UserLevel = static_cast<std::uint8_t>(commandLineLevel);
        program_.StartedWithLevel = true;
        if (!runStartUp())
            endProgram();
        return;
    }
    program_.StartedWithLevel = false;
    password_.Form_Load();
}

bool SetupApplication::runStartUp() {
    return StartUp(program_, startUpSeams_) == StartResult::Running;
}

void SetupApplication::endProgram() {
    if (ended_)
        return;
    ended_ = true;
    main_.alarm().clear();
    for (Window* window : std::initializer_list<Window*>{&pwdForm_, &setupForm_, &comForm_, &pnlForm_,
                                                         &backupsForm_, &infoForm_})
        window->setVisible(false);
    if (onEnd)
        onEnd();
}

}  // namespace pnl::ui
