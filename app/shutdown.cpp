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

bool CommitWorkingCopies(Program& program, std::string* why, MsgIcon* icon) {
    closeDatabase(program);
    std::string reason;
    // A journal or log of another program beside QBXDATA.MDB would be played into the new file.
    if (!Database::settle(program.path(kDatabaseFile), &reason)) {
        *why = "QBXDATA.MDB wird gerade von einem anderen Programm benutzt:\n" + reason;
        *icon = MsgIcon::Exclamation;
        return false;
    }
    if (!program.fs.copyFilesAtomic({{program.path(kDatabaseCopy), program.path(kDatabaseFile)},
                                     {program.path(kSettingsCopy), program.path(kSettingsFile)}},
                                    &reason)) {
        *why = "QBXDATA.MDB und ANLAGE99.INI konnten nicht ersetzt werden:\n" + reason;
        *icon = MsgIcon::Critical;
        return false;
    }
    EventLog(program, "Einstellungen gesichert");
    return true;
}

bool ShutDown(Program& program) {
    const MsgAnswer answer = program.msgBox("Sollen alle getätigten Änderungen übernommen werden?",
                                            MsgIcon::None, MsgButtons::YesNoCancel, "Änderungen speichern");
    if (answer == MsgAnswer::Yes) {
        std::string why;
        MsgIcon icon = MsgIcon::Critical;
        if (!CommitWorkingCopies(program, &why, &icon))
            return keepRunning(program, why, icon);
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
