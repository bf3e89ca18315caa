#pragma once
// The logic of the window "Anlagen" (InstallationsWindowForm): the installations this user has opened, read
// one after the other from the event loop, so that dozens of folders (some on a slow drive) never hold up
// the window, each shown with its building, folder, residents, stations, last transfer and state. A folder
// that vanished stays listed as "fehlt" until the user removes the entry. Opening another installation ends
// the run with the exit question first; opening the one the program runs on only closes the window. Nothing
// of any installation is written here.

#include <functional>
#include <string>
#include <vector>

#include "stations/installation_summary.h"

namespace pnl {

class Program;
class UserSettings;
struct InstallationsWindowForm;

class InstallationsWindowController {
  public:
    struct Seams {
        // Ends the run with the exit question ("Ja" keeps the changes, "Nein" discards them); false when the
        // user stays ("Abbrechen"). Unset in the first start, where no installation is open.
        std::function<bool()> endRun;
        // Starts the program on the folder; the run has ended.
        std::function<void(const std::string& folder)> startOn;
    };

    // program.folder is the installation the program runs on; empty in the first start.
    InstallationsWindowController(Program& program, InstallationsWindowForm& form, UserSettings& settings);
    ~InstallationsWindowController();
    InstallationsWindowController(const InstallationsWindowController&) = delete;
    InstallationsWindowController& operator=(const InstallationsWindowController&) = delete;

    // Lists the remembered installations, nothing chosen, and starts reading them.
    void load();
    void entryChosen();
    void open();
    // "Ordner hinzufügen …": the folder the user picked in the folder dialog.
    void addFolder(const std::string& picked);
    void remove();
    void close();

    // True until every listed installation has been read.
    bool reading() const { return timer_ != 0; }

    Seams seams;

  private:
    struct Entry {
        InstallationSummary summary;
        bool read = false;
    };
    bool isCurrent(const std::string& folder) const;
    const Entry* chosen() const;
    void showEntry(std::size_t index);
    void showChosen();
    void readNext();
    void continueReading();
    void stopReading();
    void showCount();
    // The user's list as it is now with `folders` in place of it; false (and a box said so) when it could
    // not be kept.
    bool keepList(const std::vector<std::string>& folders);
    void keepAsOpenedLast(const std::string& folder);

    Program& program_;
    InstallationsWindowForm& form_;
    UserSettings& settings_;
    std::vector<Entry> entries_;
    int timer_ = 0;
};

}  // namespace pnl
