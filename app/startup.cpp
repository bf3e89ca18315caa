#include "app/startup.h"

#include "app/event_log.h"
#include "app/program.h"

namespace pnl {

namespace {

constexpr const char* kErrorTitle = "Error";
constexpr const char* kInfosFolder = "infos";
constexpr const char* kResidentTable = "BEWOHNER";
// A table in its base form has this many columns; the program then adds the station assignment.
constexpr std::size_t kBaseColumnCount = 16;
constexpr const char* kDefective = "Datenbank QBXDATA.MDB defekt!";

StartResult fatal(Program& program, const std::string& text) {
    program.msgBox(text, MsgIcon::Critical, MsgButtons::Ok, kErrorTitle);
    program.closeDatabase();
    return StartResult::Ended;
}

bool looksLikeSqlite(Program& program, const std::string& path) {
    const auto bytes = program.fs.readFile(path);
    return bytes && bytes->compare(0, 16, std::string("SQLite format 3\0", 16)) == 0;
}

std::string cannotBeOpened(Program& program, const std::string& detail) {
    std::string text = "Datenbank " + program.path(kDatabaseCopy) + " kann nicht geöffnet werden!";
    return detail.empty() ? text : text + "\n" + detail;
}

std::string defective(const std::string& detail) {
    return detail.empty() ? std::string(kDefective) : std::string(kDefective) + "\n" + detail;
}

// Opens the copy, reads the table's columns and adds the station assignment to a table in its base form.
std::string checkAndUpgradeDatabase(Program& program) {
    std::string why;
    auto db = Database::open(program.path(kDatabaseCopy), &why);
    if (!db)
        return cannotBeOpened(program, why);
    const auto columns = db->columns(kResidentTable);
    if (columns.empty())
        return cannotBeOpened(program, "Die Tabelle BEWOHNER fehlt.");
    if (columns.size() == kBaseColumnCount &&
        !db->exec("ALTER TABLE BEWOHNER ADD COLUMN PNL VARCHAR(100)", {}, &why))
        return cannotBeOpened(program, why);
    return {};
}

// database on the copy: the table must be readable and sortable by apartment number.
std::string bindDatabase(Program& program) {
    std::string why;
    auto database = Database::open(program.path(kDatabaseCopy), &why);
    if (!database)
        return defective(why);
    if (!database->query("SELECT count(*) FROM BEWOHNER", {}, &why))
        return defective(why);
    if (!database->query("SELECT * FROM BEWOHNER ORDER BY WNR LIMIT 1", {}, &why))
        return defective(why);
    if (!program.useDatabase(std::move(database)))
        return defective({});
    return {};
}

}  // namespace

bool UpgradeDatabaseCopy(Program& program) {
    return checkAndUpgradeDatabase(program).empty();
}

bool MakeDatabaseWorkingCopy(Program& program, std::string* message, const CopyStepHook& afterStep) {
    const std::string copy = program.path(kDatabaseCopy);
    // A journal left by a crashed run would be played into the fresh copy and spoil it.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        if (program.fs.fileExists(copy + suffix))
            program.fs.deleteFile(copy + suffix);
    std::string why;
    int sourceFailure = 0;
    if (Database::backup(program.path(kDatabaseFile), copy, &why, &sourceFailure, afterStep))
        return true;
    if (!looksLikeSqlite(program, program.path(kDatabaseFile))) {
        // Copied as it is: opening the copy reports it like any other unreadable database.
        if (program.fs.copyFile(program.path(kDatabaseFile), copy))
            return true;
        why.clear();
    }
    // An original that cannot be read (damaged, held, a write of another program left unfinished) is a
    // database that cannot be opened; otherwise the copy could not be written.
    *message = sourceFailure != 0 ? cannotBeOpened(program, why)
                                  : "Die Arbeitskopie QBXDATA_COPY.MDB kann nicht angelegt werden!" +
                                        (why.empty() ? std::string() : "\n" + why);
    return false;
}

bool CheckDatabaseWorkingCopy(Program& program, std::string* message) {
    *message = checkAndUpgradeDatabase(program);
    if (message->empty())
        *message = bindDatabase(program);
    return message->empty();
}

StartResult StartUp(Program& program, const StartUpSeams& seams) {
    // The working copies are made anew: nothing of an earlier run's restore is in them.
    program.restoredBackup.clear();
    if (seams.prepareInterfaceEditor)
        seams.prepareInterfaceEditor();
    EventLog(program, "Setup gestartet - Userlevel " + std::to_string(program.userLevel));

    if (!program.fs.fileExists(program.path(kDatabaseFile)))
        return fatal(program, "Datenbank QBXDATA.MDB nicht gefunden!");
    std::string message;
    if (!MakeDatabaseWorkingCopy(program, &message))
        return fatal(program, message);

    if (!program.fs.fileExists(program.path(kSettingsFile)))
        return fatal(program, "ANLAGE99.INI nicht gefunden!");
    if (!program.fs.copyFile(program.path(kSettingsFile), program.path(kSettingsCopy)))
        return fatal(program, "Die Arbeitskopie ANLAGE99_COPY.INI kann nicht angelegt werden!");
    program.settings.setFileName(program.path(kSettingsCopy));

    if (!program.fs.folderExists(program.path(kInfosFolder)))
        program.fs.createFolder(program.path(kInfosFolder));

    if (!CheckDatabaseWorkingCopy(program, &message))
        return fatal(program, message);

    if (seams.openMainWindow)
        seams.openMainWindow();
    return StartResult::Running;
}

}  // namespace pnl
