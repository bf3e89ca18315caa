#include "cli/working_copies.h"

#include <memory>

#include "app/commit.h"
#include "app/instance_lock.h"
#include "app/program.h"
#include "app/resident_table.h"
#include "app/startup.h"
#include "platform/file_lock.h"

namespace pnl {

bool openWorkingCopies(Program& program, std::string* why) {
    if (!MakeDatabaseWorkingCopy(program, why))
        return false;
    if (!program.fs.copyFile(program.path(kSettingsFile), program.path(kSettingsCopy))) {
        *why = "Die Arbeitskopie ANLAGE99_COPY.INI kann nicht angelegt werden!";
        return false;
    }
    program.settings.setFileName(program.path(kSettingsCopy));
    // The window's start-up checks: a database the window calls damaged ends the run with the same text.
    return CheckDatabaseWorkingCopy(program, why);
}

std::unique_ptr<FileLock> openInstallation(Program& program, const std::string& levelText, std::ostream& out,
                                           const CodePrompt& askCode, std::string* why) {
    why->clear();
    if (!program.fs.fileExists(program.path(kDatabaseFile))) {
        *why = "Datenbank QBXDATA.MDB nicht gefunden!";
        return nullptr;
    }
    if (!program.fs.fileExists(program.path(kSettingsFile))) {
        *why = "ANLAGE99.INI nicht gefunden!";
        return nullptr;
    }
    program.originalSettings.setFileName(program.path(kSettingsFile));
    const int level = TerminalAccessLevel(program, levelText, askCode, out);
    if (level == 0) {
        *why = "Kein gültiger Zugangscode.";
        return nullptr;
    }
    program.userLevel = static_cast<std::uint8_t>(level);
    // The working copies belong to a running program; they are made anew only when none runs here.
    std::unique_ptr<FileLock> lock = lockInstallation(program);
    if (!lock || FinishInterruptedCommit(program) == RecoveryOutcome::Unresolved)
        return nullptr;
    if (!openWorkingCopies(program, why))
        return nullptr;
    return lock;
}

}  // namespace pnl
