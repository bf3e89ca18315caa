#pragma once
// The main window's logic (MainWindowForm): the menu commands, the page switching, the status bar and the
// closing. Other windows and pages are reached through seams that the program's composition fills in.

#include <cstdint>
#include <functional>
#include <string>

#include "app/clock_alarm.h"

namespace pnl {

class Program;
class LevelEditor;
struct MainWindowForm;
struct InterfaceWindowForm;
struct InfoDialogForm;

// Fills the project information dialog from the program's version information.
void FillProjectInfo(InfoDialogForm& form);

class MainWindowController {
  public:
    struct Seams {
        // The resident editor's OpenResidentView.
        std::function<void()> openResidentView;
        // Reads the residents into the overview page.
        std::function<void()> openOverview;
        // Runs when InterfaceWindowForm opens over the main window (it was closed before), and when it closes
        // again.
        std::function<void()> interfaceWindowOpened;
        std::function<void()> interfaceWindowClosed;
        // Shows the transfer dialog TransferDialogForm non-modally.
        std::function<void()> showTransferDialog;
        // Fills and shows the window "Sicherungen".
        std::function<void()> showBackups;
        // Shows the window "Anlagen" and starts reading the installations.
        std::function<void()> showInstallations;
        // Shows the filled project information dialog modally.
        std::function<void()> showProjectInfo;
        // Asks the main window to close (its closing event then runs closeRequested).
        std::function<void()> closeMainWindow;
        // The number of rows of table BEWOHNER.
        std::function<int()> residentCount;
        // Before the shown page is left: false when the user stays with its unsaved work.
        std::function<bool()> leavePage;
    };
    // The status bar panel that shows a success for a few seconds.
    static constexpr int kNoticePanel = 3;
    static constexpr int kNoticeSeconds = 5;

    MainWindowController(Program& program, MainWindowForm& form, InterfaceWindowForm& interfaceWindow,
                         InfoDialogForm& info, LevelEditor& levels);
    ~MainWindowController();
    MainWindowController(const MainWindowController&) = delete;
    MainWindowController& operator=(const MainWindowController&) = delete;

    // The steps of the start-up that bring up the main window: show it, register the clock alarm "??:??:?0"
    // with number 0, hide the pages, apply the level's rights, open the resident page as start page, fill the
    // status bar.
    void Open();

    void openInterfaces();
    void openResidents();
    void openOverview();
    void openLevels();
    void openTransfer();
    void openBackups();
    void openInstallations();
    void openInfo();
    void quit();
    // The closing event: runs ShutDown. True cancels the closing.
    bool closeRequested();
    void clockAlarmFired(int number) { UpdateStatusBar(static_cast<std::int16_t>(number)); }

    void HideAllPages();
    void UpdateStatusBar(std::int16_t alarmNumber);

    ClockAlarm& alarm() { return alarm_; }
    Seams seams;

  private:
    void showInterfaceWindow();
    void closeInterfaceWindow();
    bool leavePage();
    void showNotice(const std::string& text);

    Program& program_;
    MainWindowForm& form_;
    InterfaceWindowForm& interfaceWindow_;
    InfoDialogForm& info_;
    LevelEditor& levels_;
    ClockAlarm alarm_;
    int noticeTimer_ = 0;
};

}  // namespace pnl
