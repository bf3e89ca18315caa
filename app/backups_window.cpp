#include "app/backups_window.h"

#include "app/backups.h"
#include "app/program.h"
#include "forms/backups_window.h"

namespace pnl {

BackupsWindowController::BackupsWindowController(Program& program, BackupsWindowForm& form)
    : program_(program), form_(form) {}

void BackupsWindowController::load() {
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
    form_.backupList.setLines(lines);
    form_.restore.setEnabled(false);
}

void BackupsWindowController::backupChosen() {
    form_.restore.setEnabled(form_.backupList.listIndex() >= 0);
}

void BackupsWindowController::restore() {
    const int index = form_.backupList.listIndex();
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

void BackupsWindowController::close() {
    form_.setVisible(false);
}

}  // namespace pnl
