#pragma once
// The logic of the window "Sicherungen": lists the kept pairs with date, residents and stations, and restores
// the chosen one into the working copies ("Ja" at exit then commits it, "Nein" discards it).

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
    void backupChosen();
    // Asks, restores the chosen pair, closes the window and runs `restored`.
    void restore();
    void close();

    // Runs after a restore: the pages show the restored working copies.
    std::function<void()> restored;

  private:
    Program& program_;
    BackupsWindowForm& form_;
    std::vector<std::string> folders_;
    std::vector<std::string> dates_;
};

}  // namespace pnl
