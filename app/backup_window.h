#pragma once
// The logic of the window "Sicherungen": lists the kept pairs with date, residents and stations, and restores
// the chosen one into the working copies ("Ja" at exit then commits it, "Nein" discards it).

#include <functional>
#include <string>
#include <vector>

namespace pnl {

class Program;
struct FrmBackups;

class BackupWindowController {
  public:
    BackupWindowController(Program& program, FrmBackups& form);

    // Fills the list, newest first; nothing is chosen.
    void Form_Load();
    void LstBackups_Click();
    // Asks, restores the chosen pair, closes the window and runs `restored`.
    void CmdRestore_Click();
    void CmdClose_Click();

    // Runs after a restore: the pages show the restored working copies.
    std::function<void()> restored;

  private:
    Program& program_;
    FrmBackups& form_;
    std::vector<std::string> folders_;
    std::vector<std::string> dates_;
};

}  // namespace pnl
