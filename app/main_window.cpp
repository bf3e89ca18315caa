#include "app/main_window.h"

#include <cstdio>

#include "app/access_codes.h"
#include "app/level_editor.h"
#include "app/program.h"
#include "app/shutdown.h"
#include "forms/info_dialog.h"
#include "forms/interface_window.h"
#include "forms/main_window.h"
#include "platform/version.h"

namespace pnl {

void FillProjectInfo(InfoDialogForm& form) {
    form.title.setCaption(kVersion.fileDescription);
    form.copyright.setCaption(kVersion.copyright);
    form.version.setCaption(versionLabel(kVersion));
}

MainWindowController::MainWindowController(Program& program, MainWindowForm& form,
                                           InterfaceWindowForm& interfaceWindow, InfoDialogForm& info,
                                           LevelEditor& levels)
    : program_(program),
      form_(form),
      interfaceWindow_(interfaceWindow),
      info_(info),
      levels_(levels),
      alarm_(program.loop) {
    alarm_.setHandler([this](int number) { clockAlarmFired(number); });
    program_.statusNotice = [this](const std::string& text) { showNotice(text); };
}

MainWindowController::~MainWindowController() {
    program_.statusNotice = nullptr;
    if (noticeTimer_ != 0)
        program_.loop.stopTimer(noticeTimer_);
}

bool MainWindowController::leavePage() {
    if (form_.levelsFrame.visible() && !levels_.leaveLevel())
        return false;
    return !seams.leavePage || seams.leavePage();
}

void MainWindowController::showNotice(const std::string& text) {
    form_.statusBar.setPanelText(kNoticePanel, text);
    if (noticeTimer_ != 0)
        program_.loop.stopTimer(noticeTimer_);
    noticeTimer_ = program_.loop.startTimer(std::chrono::seconds(kNoticeSeconds), false, [this] {
        noticeTimer_ = 0;
        form_.statusBar.setPanelText(kNoticePanel, "");
    });
}

void MainWindowController::Open() {
    form_.setVisible(true);
    alarm_.addAlarm("??:??:?0", 0);
    HideAllPages();
    ApplyLevelRights(program_, form_);
    if (seams.openResidentView)
        seams.openResidentView();
    form_.residentFrame.setVisible(true);
    UpdateStatusBar(0);
}

void MainWindowController::openInterfaces() {
    if (!leavePage())
        return;
    HideAllPages();
    showInterfaceWindow();
}

void MainWindowController::openResidents() {
    if (!leavePage())
        return;
    HideAllPages();
    closeInterfaceWindow();
    form_.residentFrame.setVisible(true);
    if (seams.openResidentView)
        seams.openResidentView();
    form_.residentTabs.setTab(0);
}

void MainWindowController::openOverview() {
    if (!leavePage())
        return;
    HideAllPages();
    closeInterfaceWindow();
    if (seams.openOverview)
        seams.openOverview();
    form_.overviewFrame.setVisible(true);
}

void MainWindowController::openLevels() {
    if (!leavePage())
        return;
    HideAllPages();
    closeInterfaceWindow();
    levels_.Reset();
    form_.levelsFrame.setVisible(true);
}

// The transfer sends what is stored and a restored backup replaces it: typed changes are settled first.
void MainWindowController::openTransfer() {
    if (!leavePage())
        return;
    if (seams.showTransferDialog)
        seams.showTransferDialog();
}

void MainWindowController::openBackups() {
    if (!leavePage())
        return;
    if (seams.showBackups)
        seams.showBackups();
}

// Only shows the installations; opening one asks the exit question, which settles the page's typed changes.
void MainWindowController::openInstallations() {
    if (seams.showInstallations)
        seams.showInstallations();
}

void MainWindowController::openInfo() {
    FillProjectInfo(info_);
    if (seams.showProjectInfo)
        seams.showProjectInfo();
}

void MainWindowController::quit() {
    if (seams.closeMainWindow)
        seams.closeMainWindow();
}

bool MainWindowController::closeRequested() {
    // Closing while a transfer or a port test pauses would pull the working copies from under it.
    if (program_.serialLinkBusy || program_.pause.busy()) {
        program_.msgBox(
            "Das Programm kann erst beendet werden, wenn die laufende Übertragung oder der "
            "Schnittstellentest "
            "abgeschlossen ist.",
            MsgIcon::Exclamation);
        return true;
    }
    if (!leavePage() || ShutDown(program_))
        return true;
    alarm_.clear();
    closeInterfaceWindow();
    return false;
}

void MainWindowController::HideAllPages() {
    form_.residentFrame.setVisible(false);
    form_.levelsFrame.setVisible(false);
    form_.overviewFrame.setVisible(false);
}

void MainWindowController::UpdateStatusBar(std::int16_t alarmNumber) {
    if (alarmNumber != 0)
        return;
    form_.statusBar.setPanelText(1, "Level " + std::to_string(program_.userLevel));
    // A log line of this run that could not be written: said once, and it stays for the rest of the run.
    form_.statusBar.setPanelText(2, program_.logProblem);
    const int residents = seams.residentCount ? seams.residentCount() : 0;
    form_.statusBar.setPanelText(4, "Bewohner: " + std::to_string(residents));
    const DateTime now = program_.loop.clock().now();
    char clock[8];
    std::snprintf(clock, sizeof clock, "%02d:%02d", now.hour % 100, now.minute % 100);
    form_.statusBar.setPanelText(5, clock);
}

void MainWindowController::showInterfaceWindow() {
    // Laid over the main window below its menu bar and above its status bar.
    const Window::Geometry main = form_.geometry();
    interfaceWindow_.setGeometry({main.left + 2, main.top + 50, main.width - 4, main.height - 80});
    const bool opening = !interfaceWindow_.visible();
    interfaceWindow_.setVisible(true);
    if (opening && seams.interfaceWindowOpened)
        seams.interfaceWindowOpened();
}

void MainWindowController::closeInterfaceWindow() {
    if (!interfaceWindow_.visible())
        return;
    interfaceWindow_.setVisible(false);
    if (seams.interfaceWindowClosed)
        seams.interfaceWindowClosed();
}

}  // namespace pnl
