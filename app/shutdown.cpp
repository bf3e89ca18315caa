#include "app/shutdown.h"

#include "app/event_log.h"
#include "app/program.h"

namespace pnl {

namespace {

constexpr const char* kFlagFile = "FLAG.TXT";

void closeDatabase(Program& program) {
    // The cursor refers to the connection, so it goes first.
    program.residents.reset();
    program.DataBewo.reset();
}

void removeFlag(Program& program) {
    const std::string flag = program.path(kFlagFile);
    if (program.fs.fileExists(flag))
        program.fs.deleteFile(flag);
}

// After a commit that could not complete the run goes on: the working copy is opened again.
void reopenDatabase(Program& program) {
    program.DataBewo = Database::open(program.path(kDatabaseCopy));
    if (program.DataBewo && program.bindResidentTable)
        program.bindResidentTable();
}

// The commit did not happen: both originals are as they were and the run goes on with its working copy.
bool keepRunning(Program& program, const std::string& reason, MsgIcon icon) {
    reopenDatabase(program);
    program.msgBox("Die Änderungen wurden NICHT übernommen!\n\n" + reason +
                       "\n\nBeide Dateien sind unverändert. Schließen Sie andere Programme, die sie "
                       "benutzen, und beenden Sie das Setup erneut, oder wählen Sie \"Nein\".",
                   icon, MsgButtons::Ok, "Änderungen speichern");
    return true;
}

}  // namespace

bool ShutDown(Program& program) {
    std::string question = "Sollen alle getätigten Änderungen übernommen werden?";
    if (!program.stationsSentThisRun.empty()) {
        std::string names;
        for (const std::string& name : program.stationsSentThisRun)
            names += (names.empty() ? "" : ", ") + name;
        question += "\n\rAchtung: Diese PNL haben in diesem Lauf Bewohnerdaten erhalten: " + names +
                    ".\n\rBei \"Nein\" behalten diese PNL Daten, die die Datenbank nicht behält.";
    }
    const MsgAnswer answer =
        program.msgBox(question, MsgIcon::None, MsgButtons::YesNoCancel, "Änderungen speichern");
    if (answer == MsgAnswer::Yes) {
        closeDatabase(program);
        std::string why;
        // A journal or log of another program beside QBXDATA.MDB would be played into the new file.
        if (!Database::settle(program.path(kDatabaseFile), &why))
            return keepRunning(program, "QBXDATA.MDB wird gerade von einem anderen Programm benutzt:\n" + why,
                               MsgIcon::Exclamation);
        if (!program.fs.copyFilesAtomic({{program.path(kDatabaseCopy), program.path(kDatabaseFile)},
                                         {program.path(kSettingsCopy), program.path(kSettingsFile)}},
                                        &why))
            return keepRunning(program, "QBXDATA.MDB und ANLAGE99.INI konnten nicht ersetzt werden:\n" + why,
                               MsgIcon::Critical);
        EventLog(program, "Einstellungen gesichert");
        EventLog(program, "Setupprogramm beendet");
        removeFlag(program);
        return false;
    }
    if (answer == MsgAnswer::No) {
        closeDatabase(program);
        EventLog(program, "Setupprogramm beendet");
        removeFlag(program);
        return false;
    }
    return true;
}

}  // namespace pnl
