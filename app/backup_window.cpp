#include "app/backup_window.h"

#include "app/backups.h"
#include "app/program.h"
#include "forms/frm_backups.h"

namespace pnl {

BackupWindowController::BackupWindowController(Program& program, FrmBackups& form)
    : program_(program), form_(form) {}

void BackupWindowController::Form_Load() {
    folders_.clear();
    dates_.clear();
    std::vector<std::string> lines;
    for (const BackupInfo& backup : ListBackups(program_)) {
        folders_.push_back(backup.folder);
        dates_.push_back(backup.when);
        lines.push_back(backup.when + "|" +
                        (backup.residents < 0 ? "nicht lesbar" : std::to_string(backup.residents)) + "|" +
                        std::to_string(backup.stations));
    }
    form_.LstBackups.setLines(lines);
    form_.CmdRestore.setEnabled(false);
}

void BackupWindowController::LstBackups_Click() {
    form_.CmdRestore.setEnabled(form_.LstBackups.listIndex() >= 0);
}

void BackupWindowController::CmdRestore_Click() {
    const int index = form_.LstBackups.listIndex();
    if (index < 0 || index >= static_cast<int>(folders_.size()))
        return;
    if (program_.msgBox(
            "Die Sicherung vom " + dates_[index] +
                " in die Arbeitskopien übernehmen?\n\nAlle Änderungen dieser Sitzung gehen dabei "
                "verloren. Gespeichert wird die Sicherung erst, wenn Sie beim Beenden \"Ja\" wählen.",
            MsgIcon::Question, MsgButtons::YesNo, "Sicherung wiederherstellen") != MsgAnswer::Yes)
        return;
    if (!RestoreBackup(program_, folders_[index]))
        return;
    form_.setVisible(false);
    if (restored)
        restored();
}

void BackupWindowController::CmdClose_Click() {
    form_.setVisible(false);
}

}  // namespace pnl
