#include "ui/setup_application.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <iostream>

#include "app/resident_table.h"
#include "ui/backups_window_view.h"
#include "ui/binders.h"
#include "ui/info_dialog_view.h"
#include "ui/installations_window_view.h"
#include "ui/interface_window_view.h"
#include "ui/levels_page_view.h"
#include "ui/main_window_view.h"
#include "ui/overview_page_view.h"
#include "ui/password_dialog_view.h"
#include "ui/resident_page_view.h"
#include "ui/transfer_dialog_view.h"

namespace pnl::ui {

SetupApplication::SetupApplication(const Platform& platform, PortDevices& portDevices, std::string folder,
                                   const SetupOptions& options)
    : program_(platform, std::move(folder)),
      password_(program_, passwordForm_, options.passwordIdleMs),
      levels_(program_, mainForm_),
      main_(program_, mainForm_, interfaceForm_, infoForm_, levels_),
      residents_(program_, mainForm_),
      overview_(program_, mainForm_),
      interfaces_(program_, interfaceForm_, portDevices),
      transfer_(program_, transferForm_),
      backups_(program_, backupsForm_),
      installations_(program_, installationsForm_, portDevices.settings),
      userSettings_(options.userSettings) {
    onEnd = [] { QCoreApplication::quit(); };
    for (Window* window :
         std::initializer_list<Window*>{&passwordForm_, &mainForm_, &interfaceForm_, &transferForm_,
                                        &backupsForm_, &installationsForm_, &infoForm_})
        window->setVisible(false);

    // --- Start-up ---
    startUpSeams_.prepareInterfaceEditor = [this] { interfaces_.load(); };
    startUpSeams_.openMainWindow = [this] { main_.Open(); };

    // --- Password dialog PasswordDialogForm ---
    password_.seams.startUp = [this] { return runStartUp(); };
    password_.seams.endProgram = [this] { endProgram(); };
    passwordDialogView_ = std::make_unique<PasswordDialogView>(passwordForm_, password_);
    password_.seams.repaint = [this] { passwordDialogView_->repaint(); };

    // --- Main window MainWindowForm ---
    mainWindowView_ = std::make_unique<MainWindowView>(mainForm_, main_);
    if (userSettings_)
        mainWindowView_->openAt(userSettings_->mainWindowPlace());
    mainWindowView_->onClosed = [this] { endProgram(); };
    main_.seams.closeMainWindow = [this] { mainWindowView_->close(); };
    main_.seams.residentCount = [this] { return program_.residents() ? program_.residents()->count() : 0; };

    // --- Page residentFrame (resident editor): the resident page view goes here. ---
    main_.seams.openResidentView = [this] { residents_.OpenResidentView(); };
    // The status bar counts the residents at once, not at the next ten seconds.
    residents_.residentsChanged = [this] { main_.UpdateStatusBar(0); };
    main_.seams.leavePage = [this] {
        return !mainForm_.residentFrame.visible() || residents_.leaveResident();
    };
    mainWindowView_->addPage(new ResidentPageView(mainForm_, residents_));

    // --- Page "Bewohnerübersicht" ---
    overviewView_ = new OverviewPageView(mainForm_, overview_);
    mainWindowView_->addPage(overviewView_);
    main_.seams.openOverview = [this] { overview_.Open(); };
    overviewView_->openResident = [this](std::int64_t id) {
        main_.openResidents();
        mainForm_.residentList.setChosen(id);
        residents_.residentPicked();
    };

    // --- Page levelsFrame (permission level editor) ---
    levelsView_ = new LevelsPageView(mainForm_, levels_);
    mainWindowView_->addPage(levelsView_);

    // --- Interface window InterfaceWindowForm: its view goes here. ---
    // A child of the main window, so that it stays over it and goes with it.
    new InterfaceWindowView(interfaceForm_, interfaces_, mainWindowView_.get());
    main_.seams.interfaceWindowOpened = [this] { interfaces_.load(); };

    // --- Transfer dialog TransferDialogForm ---
    transferDialogView_ =
        std::make_unique<TransferDialogView>(transferForm_, transfer_, mainWindowView_.get());
    main_.seams.showTransferDialog = [this] {
        if (!transferForm_.visible())
            transfer_.load();
        transferForm_.setVisible(true);
    };

    // --- Window "Sicherungen" ---
    backupsWindow_ = std::make_unique<BackupsWindowView>(backupsForm_, backups_, mainWindowView_.get());
    main_.seams.showBackups = [this] {
        backups_.load();
        backupsForm_.setVisible(true);
    };
    // The pages show the restored working copies.
    backups_.restored = [this] { main_.openResidents(); };

    // --- Window "Anlagen" ---
    installationsWindow_ =
        std::make_unique<InstallationsWindowView>(installationsForm_, installations_, mainWindowView_.get());
    main_.seams.showInstallations = [this] {
        installations_.load();
        installationsForm_.setVisible(true);
    };
    // The exit question of the main window's closing, without closing it yet.
    installations_.seams.endRun = [this] { return !main_.closeRequested(); };
    installations_.seams.startOn = [this](const std::string& folder) {
        nextFolder_ = folder;
        endProgram();
    };

    // --- Project information InfoDialogForm ---
    infoWindow_ = std::make_unique<InfoDialogView>(infoForm_, mainWindowView_.get());
    main_.seams.showProjectInfo = options.showProjectInfo
                                      ? options.showProjectInfo
                                      : std::function<void()>([this] { infoWindow_->exec(); });
}

SetupApplication::~SetupApplication() {
    // The windows go before the models and controllers they are bound to.
    infoWindow_.reset();
    installationsWindow_.reset();
    backupsWindow_.reset();
    transferDialogView_.reset();
    mainWindowView_.reset();
    passwordDialogView_.reset();
}

void SetupApplication::start(int commandLineLevel) {
    if (commandLineLevel >= 1 && commandLineLevel <= 6) {
        program_.userLevel = static_cast<std::uint8_t>(commandLineLevel);
        program_.startedWithLevel = true;
        if (!runStartUp())
            endProgram();
        return;
    }
    program_.startedWithLevel = false;
    password_.load();
}

bool SetupApplication::runStartUp() {
    return StartUp(program_, startUpSeams_) == StartResult::Running;
}

void SetupApplication::endProgram() {
    if (ended_)
        return;
    ended_ = true;
    main_.alarm().clear();
    // Only a window the user saw has a place worth keeping; losing it costs the next start only its place.
    if (userSettings_ && mainWindowView_->isVisible() &&
        !userSettings_->setMainWindowPlace(mainWindowView_->place()))
        std::cerr << "pnl-setup: Lage und Größe des Hauptfensters konnten nicht in "
                  << userSettings_->location() << " gespeichert werden.\n";
    for (Window* window :
         std::initializer_list<Window*>{&passwordForm_, &mainForm_, &interfaceForm_, &transferForm_,
                                        &backupsForm_, &installationsForm_, &infoForm_})
        window->setVisible(false);
    if (onEnd)
        onEnd();
}

}  // namespace pnl::ui
