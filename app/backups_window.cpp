#include "app/backups_window.h"

#include "app/backup_difference.h"
#include "app/backups.h"
#include "app/program.h"
#include "forms/backups_window.h"

namespace pnl {

namespace {

constexpr const char* kChooseNote =
    "Wählen Sie eine Sicherung: Hier steht dann, welche Bewohner sich seitdem "
    "geändert haben.";

}  // namespace

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
    form_.backupNote.setCaption(
        lines.empty()
            ? "Noch keine Sicherung. Jedes Mal, wenn Sie beim Beenden \"Ja\" wählen, wird der Stand "
              "davor hier aufbewahrt (die letzten 20)."
            : "Jede Sicherung hält den Stand vor dem Sichern fest, der beim Beenden mit \"Ja\" "
              "ersetzt wurde.");
    form_.differenceList.setLines({});
    form_.differenceNote.setCaption(lines.empty() ? "" : kChooseNote);
    form_.restore.setEnabled(false);
    differing_ = 0;
    settingsDiffer_ = false;
}

void BackupsWindowController::backupChosen() {
    const int index = form_.backupList.listIndex();
    form_.restore.setEnabled(index >= 0);
    if (index < 0 || index >= static_cast<int>(folders_.size())) {
        form_.differenceList.setLines({});
        form_.differenceNote.setCaption(kChooseNote);
        return;
    }
    const BackupDifference difference = DifferenceFromBackup(program_, folders_[index]);
    std::vector<std::string> lines;
    for (const ResidentDifference& resident : difference.residents)
        lines.push_back(resident.resident + "|" + resident.inBackup + "|" + resident.now);
    form_.differenceList.setLines(lines);
    differing_ = static_cast<int>(lines.size());
    settingsDiffer_ = difference.settingsDiffer;
    const std::string settings =
        difference.settingsDiffer
            ? " Die Einstellungen (PNL, Schnittstellen, Berechtigungen) sind heute anders."
            : " Die Einstellungen sind dieselben.";
    if (!difference.readable)
        form_.differenceNote.setCaption("Die Bewohner dieser Sicherung können nicht verglichen werden.");
    else if (lines.empty())
        form_.differenceNote.setCaption(
            "Keine Unterschiede: Die Bewohner sind heute dieselben wie vor dem "
            "Sichern am " +
            dates_[index] + "." + settings);
    else
        form_.differenceNote.setCaption(
            std::to_string(lines.size()) + (lines.size() == 1 ? " Bewohner ist" : " Bewohner sind") +
            " heute anders als vor dem Sichern am " + dates_[index] + "." + settings);
}

void BackupsWindowController::restore() {
    const int index = form_.backupList.listIndex();
    if (index < 0 || index >= static_cast<int>(folders_.size()))
        return;
    // What the restore undoes, named: "an 3 Bewohnern und an den Einstellungen".
    std::string undone;
    if (differing_ > 0)
        undone = differing_ == 1 ? "an einem Bewohner" : "an " + std::to_string(differing_) + " Bewohnern";
    if (settingsDiffer_)
        undone += (undone.empty() ? "" : " und ") + std::string("an den Einstellungen");
    const std::string lost =
        undone.empty() ? "" : "Was seitdem " + undone + " geändert wurde, geht dabei verloren. ";
    Message question("Bewohner und Einstellungen auf den Stand vor dem Sichern am " + dates_[index] +
                         " zurücksetzen?\n\n" + lost +
                         "Endgültig gespeichert wird dieser Stand erst, wenn Sie beim Beenden \"Ja\" wählen.",
                     "Sicherung wiederherstellen", MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No);
    if (program_.ask(question) != MsgAnswer::Yes)
        return;
    if (!RestoreBackup(program_, folders_[index]))
        return;
    form_.setVisible(false);
    if (restored)
        restored();
    program_.notify("Wiederhergestellt: Stand vor dem Sichern am " + dates_[index] +
                    ". Beim Beenden behält \"Ja\" ihn.");
}

void BackupsWindowController::close() {
    form_.setVisible(false);
}

}  // namespace pnl
