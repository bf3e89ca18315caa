#include "cli/working_copies.h"

#include <memory>

#include "app/program.h"
#include "app/startup.h"
#include "residents/resident_table.h"

namespace pnl {

bool openWorkingCopies(Program& program, std::string* why) {
    if (!MakeDatabaseWorkingCopy(program, why))
        return false;
    if (!UpgradeDatabaseCopy(program)) {
        *why = "Datenbank QBXDATA.MDB defekt!";
        return false;
    }
    if (!program.fs.copyFile(program.path(kSettingsFile), program.path(kSettingsCopy))) {
        *why = "Die Arbeitskopie ANLAGE99_COPY.INI kann nicht angelegt werden!";
        return false;
    }
    program.InitX.setFileName(program.path(kSettingsCopy));
    program.DataBewo = Database::open(program.path(kDatabaseCopy), why);
    if (!program.DataBewo || program.DataBewo->columns(kResidentTable).empty()) {
        *why = "Datenbank QBXDATA.MDB defekt!";
        return false;
    }
    program.residents = std::make_shared<ResidentTable>(*program.DataBewo);
    return true;
}

}  // namespace pnl
