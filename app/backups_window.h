#pragma once
// The logic of the window "Sicherungen": lists the kept pairs with the time of the state they hold, their
// residents and stations; shows which residents differ between the chosen one and today's; restores it into
// the working copies ("Ja" at exit then commits it, "Nein" discards it).

#include <functional>
#include <string>
#include <vector>

namespace pnl {

class Program;
struct BackupsWindowForm;

class BackupsWindowController {
  public:
    BackupsWindowController(Program& program, BackupsWindowForm& form);

    // Fills the list, newest first; nothing is chosen.
    void load();
    // Shows what differs between the chosen backup and today's residents.
    void backupChosen();
    // Asks ("Nein" the default), restores the chosen pair, closes the window, says so in the status bar
    // and runs `restored`.
    void restore();
    void close();

    // Runs after a restore: the pages show the restored working copies.
    std::function<void()> restored;

  private:
    Program& program_;
    BackupsWindowForm& form_;
    std::vector<std::string> folders_;
    std::vector<std::string> dates_;
    // What differs between the chosen backup and today (the restore question names it).
    int differing_ = 0;
    bool settingsDiffer_ = false;
};

}  // namespace pnl
