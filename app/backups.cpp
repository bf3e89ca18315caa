#include "app/backups.h"

#include <ranges>

#include "app/event_log.h"
#include "app/program.h"
#include "app/startup.h"
#include "app/station_records.h"
#include "app/text.h"

namespace pnl {

namespace {

// "YYYY-MM-DD_hh-mm-ss": sorts by time as text.
std::string stampOf(const DateTime& t) {
    return zeroPadded(t.year, 4) + "-" + zeroPadded(t.month, 2) + "-" + zeroPadded(t.day, 2) + "_" +
           zeroPadded(t.hour, 2) + "-" + zeroPadded(t.minute, 2) + "-" + zeroPadded(t.second, 2);
}

bool isBackupName(const std::string& name) {
    if (name.size() < 19)
        return false;
    const std::string pattern = "dddd-dd-dd_dd-dd-dd";
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i] == 'd' ? (name[i] < '0' || name[i] > '9') : name[i] != pattern[i])
            return false;
    return name.size() == 19 || (name[19] == '_' && allDigits(name.substr(20)));
}

// Only the files a backup holds are removed, never anything else a user put there.
void removeBackup(Program& program, const std::string& folder) {
    for (const char* name : {kDatabaseFile, kSettingsFile})
        if (program.fs.fileExists(folder + "/" + name))
            program.fs.deleteFile(folder + "/" + name);
    program.fs.removeFolder(folder);
}

bool moveInto(Program& program, const std::string& from, const std::string& to, std::string* why) {
    if (program.fs.renameFile(from, to, nullptr))
        return true;
    // Another file system (the original is a link to another disk): copy and remove.
    if (!program.fs.copyFlushed(from, to, from, why))
        return false;
    program.fs.deleteFile(from);
    return true;
}

// "2026-12-06_14-03-00" -> "06.12.2026 14:03:00"
std::string whenOf(const std::string& folder) {
    return folder.substr(8, 2) + "." + folder.substr(5, 2) + "." + folder.substr(0, 4) + " " +
           folder.substr(11, 2) + ":" + folder.substr(14, 2) + ":" + folder.substr(17, 2);
}

int residentsIn(const std::string& database) {
    auto db = Database::open(database);
    const auto rows = db ? db->query("SELECT count(*) FROM BEWOHNER") : std::nullopt;
    return rows && !rows->empty() ? static_cast<int>(leadingNumber(dbText(rows->at(0).at(0)))) : -1;
}

int stationsIn(Program& program, const std::string& settings) {
    SettingsFile file(program.fs);
    file.setFileName(settings);
    int count = 0;
    for (int number = 0; number < kStationSlots; ++number)
        if (!file.read(kStationSection, stationKey(number)).empty())
            ++count;
    return count;
}

void reopenWorkingCopy(Program& program) {
    program.useDatabase(Database::open(program.path(kDatabaseCopy)));
}

bool restoreFailed(Program& program, const std::string& why) {
    reopenWorkingCopy(program);
    program.msgBox("Die Sicherung konnte nicht wiederhergestellt werden.\n\n" + why +
                       "\n\nDie Arbeitskopien sind unverändert.",
                   MsgIcon::Exclamation, MsgButtons::Ok);
    return false;
}

}  // namespace

std::vector<BackupInfo> ListBackups(Program& program) {
    std::vector<BackupInfo> list;
    const auto folders = BackupFolders(program);
    for (const std::string& name : std::views::reverse(folders)) {
        const std::string base = program.path(kBackupFolder) + "/" + name + "/";
        if (!program.fs.fileExists(base + kDatabaseFile) || !program.fs.fileExists(base + kSettingsFile))
            continue;
        list.push_back(BackupInfo{name, whenOf(name), residentsIn(base + kDatabaseFile),
                                  stationsIn(program, base + kSettingsFile)});
    }
    return list;
}

bool RestoreBackup(Program& program, const std::string& folder) {
    const std::string base = program.path(kBackupFolder) + "/" + folder + "/";
    const std::string database = program.path(kDatabaseCopy);
    const std::string staged = database + ".wiederherstellen";
    program.closeDatabase();
    std::string why;
    if (!isBackupName(folder) || !program.fs.fileExists(base + kSettingsFile))
        return restoreFailed(program, "Die Sicherung " + folder + " ist nicht vollständig.");
    if (!Database::backup(base + kDatabaseFile, staged, &why)) {
        program.fs.deleteFile(staged);
        return restoreFailed(program, "QBXDATA.MDB der Sicherung ist nicht lesbar: " + why);
    }
    const auto settingsBefore = program.fs.readFile(program.path(kSettingsCopy));
    if (!settingsBefore || !program.fs.copyFile(base + kSettingsFile, program.path(kSettingsCopy))) {
        program.fs.deleteFile(staged);
        return restoreFailed(program, "ANLAGE99_COPY.INI kann nicht geschrieben werden.");
    }
    if (!program.fs.renameFile(staged, database, &why)) {
        program.fs.writeFileAtomic(program.path(kSettingsCopy), *settingsBefore);
        program.fs.deleteFile(staged);
        return restoreFailed(program, why);
    }
    UpgradeDatabaseCopy(program);
    reopenWorkingCopy(program);
    EventLog(program, "Sicherung vom " + whenOf(folder) + " wiederhergestellt");
    return true;
}

std::vector<std::string> BackupFolders(Program& program) {
    std::vector<std::string> names;
    for (const auto& name : program.fs.listFolder(program.path(kBackupFolder)))
        if (isBackupName(name) && program.fs.folderExists(program.path(kBackupFolder) + "/" + name))
            names.push_back(name);
    return names;
}

bool KeepPreviousPair(Program& program, const std::vector<std::pair<std::string, std::string>>& files,
                      std::string* why) {
    const std::string root = program.path(kBackupFolder);
    if (!program.fs.folderExists(root) && !program.fs.createFolder(root)) {
        *why = "Der Ordner " + root + " kann nicht angelegt werden.";
        return false;
    }
    const std::string stamp = stampOf(program.loop.clock().now());
    std::string folder = root + "/" + stamp;
    for (int n = 2; program.fs.folderExists(folder) || program.fs.fileExists(folder); ++n)
        folder = root + "/" + stamp + "_" + std::to_string(n);
    if (!program.fs.createFolder(folder)) {
        *why = "Der Ordner " + folder + " kann nicht angelegt werden.";
        return false;
    }
    for (const auto& [name, path] : files)
        if (!moveInto(program, path, folder + "/" + name, why))
            return false;
    if (!program.fs.syncFolder(folder, why) || !program.fs.syncFolder(root, why))
        return false;
    auto kept = BackupFolders(program);
    while (kept.size() > kBackupsKept) {
        removeBackup(program, root + "/" + kept.front());
        kept.erase(kept.begin());
    }
    return true;
}

}  // namespace pnl
