#include "app/shutdown.h"

#include "app/commit.h"
#include "app/event_log.h"
#include "app/program.h"
#include "app/station_records.h"

namespace pnl {

namespace {

constexpr const char* kFlagFile = "FLAG.TXT";
constexpr const char* kTitle = "Änderungen speichern";

void removeFlag(Program& program) {
    const std::string flag = program.path(kFlagFile);
    if (program.fs.fileExists(flag))
        program.fs.deleteFile(flag);
}

// After a commit that could not complete the run goes on: the working copy is opened again.
void reopenDatabase(Program& program) {
    program.useDatabase(Database::open(program.path(kDatabaseCopy)));
}

// The commit did not happen: both originals are as they were and the run goes on with its working copy.
bool keepRunning(Program& program, const std::string& reason, MsgIcon icon) {
    reopenDatabase(program);
    program.msgBox(
        "Die Änderungen wurden NICHT übernommen!\n\n" + reason +
            "\n\nBeide Dateien sind unverändert. Beheben Sie die Ursache (schließen Sie zum Beispiel "
            "andere Programme, die die Dateien benutzen) und beenden Sie das Setup erneut, oder "
            "wählen Sie \"Nein\".",
        icon, MsgButtons::Ok, kTitle);
    return true;
}

}  // namespace

bool ShutDown(Program& program) {
    std::string question = "Sollen alle getätigten Änderungen übernommen werden?";
    if (!program.stationsSent.empty()) {
        std::string names;
        for (const int number : program.stationsSent)
            names += (names.empty() ? "" : ", ") + readStation(program, number).label + " (" +
                     stationKey(number) + ")";
        question += "\n\rAchtung: Diese PNL haben in diesem Lauf Bewohnerdaten erhalten: " + names +
                    ".\n\rBei \"Nein\" behalten diese PNL Daten, die die Datenbank nicht behält.";
    }
    if (!program.restoredBackup.empty())
        question += "\n\rSie haben den Stand vor dem Sichern am " + program.restoredBackup +
                    " wiederhergestellt: \"Ja\" behält ihn, \"Nein\" verwirft ihn.";
    const MsgAnswer answer = program.msgBox(question, MsgIcon::None, MsgButtons::YesNoCancel, kTitle);
    if (answer == MsgAnswer::Yes) {
        program.closeDatabase();
        const CommitResult result = CommitWorkingCopies(program);
        if (result.outcome == CommitOutcome::NotSaved)
            return keepRunning(program, result.message, result.icon);
        if (result.outcome == CommitOutcome::Unfinished) {
            // The originals must not be worked on until the next start has settled them.
            program.msgBox(result.message, result.icon, MsgButtons::Ok, kTitle);
            EventLog(program, "Setupprogramm beendet");
            removeFlag(program);
            return false;
        }
        if (!result.message.empty())
            program.msgBox("Die Änderungen wurden übernommen.\n\n" + result.message, MsgIcon::Exclamation,
                           MsgButtons::Ok, kTitle);
        EventLog(program, "Einstellungen gesichert");
        EventLog(program, "Setupprogramm beendet");
        removeFlag(program);
        return false;
    }
    if (answer == MsgAnswer::No) {
        program.closeDatabase();
        EventLog(program, "Setupprogramm beendet");
        removeFlag(program);
        return false;
    }
    return true;
}

}  // namespace pnl
