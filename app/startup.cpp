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

StartResult fatal(Program& program, const std::string& text) {
    program.msgBox(text, MsgIcon::Critical, MsgButtons::Ok, kErrorTitle);
    // Close all open files: the resident cursor first, then its connection.
    program.residents.reset();
    program.DataBewo.reset();
    return StartResult::Ended;
}

bool looksLikeSqlite(Program& program, const std::string& path) {
    const auto bytes = program.fs.readFile(path);
    return bytes && bytes->compare(0, 16, std::string("SQLite format 3\0", 16)) == 0;
}

// Opens the copy, reads the table's columns and adds the station assignment to a table in its base form.
bool checkAndUpgradeDatabase(Program& program) {
    auto db = Database::open(program.path(kDatabaseCopy));
    if (!db)
        return false;
    const auto columns = db->columns(kResidentTable);
    if (columns.empty())
        return false;
    if (columns.size() == kBaseColumnCount)
        return db->exec("ALTER TABLE BEWOHNER ADD COLUMN PNL VARCHAR(100)");
    return true;
}

// DataBewo on the copy: the table must be readable and sortable by apartment number.
bool bindDataBewo(Program& program) {
    program.DataBewo = Database::open(program.path(kDatabaseCopy));
    if (!program.DataBewo)
        return false;
    if (!program.DataBewo->query("SELECT count(*) FROM BEWOHNER"))
        return false;
    if (!program.DataBewo->query("SELECT * FROM BEWOHNER ORDER BY WNR LIMIT 1"))
        return false;
    return !program.bindResidentTable || program.bindResidentTable();
}

}  // namespace

bool UpgradeDatabaseCopy(Program& program) {
    return checkAndUpgradeDatabase(program);
}

bool MakeDatabaseWorkingCopy(Program& program, std::string* why) {
    const std::string copy = program.path(kDatabaseCopy);
    // A journal left by a crashed run would be played into the fresh copy and spoil it.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        if (program.fs.fileExists(copy + suffix))
            program.fs.deleteFile(copy + suffix);
    if (Database::backup(program.path(kDatabaseFile), copy, why))
        return true;
    if (looksLikeSqlite(program, program.path(kDatabaseFile)))
        return false;
    return program.fs.copyFile(program.path(kDatabaseFile), copy);
}

StartResult StartUp(Program& program, const StartUpSeams& seams) {
    if (seams.prepareInterfaceEditor)
        seams.prepareInterfaceEditor();
    EventLog(program, "Setup gestartet - Userlevel " + std::to_string(program.UserLevel));

    if (!program.fs.fileExists(program.path(kDatabaseFile)))
        return fatal(program, "Datenbank QBXDATA.MDB nicht gefunden!");
    std::string why;
    if (!MakeDatabaseWorkingCopy(program, &why))
        return fatal(program, "Die Arbeitskopie QBXDATA_COPY.MDB kann nicht angelegt werden!\n" + why);

    if (!program.fs.fileExists(program.path(kSettingsFile)))
        return fatal(program, "ANLAGE99.INI nicht gefunden!");
    if (!program.fs.copyFile(program.path(kSettingsFile), program.path(kSettingsCopy)))
        return fatal(program, "Die Arbeitskopie ANLAGE99_COPY.INI kann nicht angelegt werden!");
    program.InitX.setFileName(program.path(kSettingsCopy));

    if (!program.fs.folderExists(program.path(kInfosFolder)))
        program.fs.createFolder(program.path(kInfosFolder));

    if (!checkAndUpgradeDatabase(program))
        return fatal(program, "Datenbank " + program.path(kDatabaseCopy) + " kann nicht geöffnet werden!");

    program.bindResidentTable = seams.bindResidentTable;
    if (!bindDataBewo(program))
        return fatal(program, "Datenbank QBXDATA.MDB defekt!");

    if (seams.openMainWindow)
        seams.openMainWindow();
    return StartResult::Running;
}

}  // namespace pnl
