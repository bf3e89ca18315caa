#include "cli/working_copies.h"

#include <memory>

#include "app/program.h"
#include "app/resident_table.h"
#include "app/startup.h"

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

}  // namespace pnl
