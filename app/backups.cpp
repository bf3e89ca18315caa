#include "app/backups.h"

#include <algorithm>

#include "app/event_log.h"
#include "app/program.h"
#include "app/startup.h"
#include "app/station_records.h"
#include "app/text.h"
#include "platform/ini_file.h"

namespace pnl {

namespace {

// A backup folder is filled under its name with this ending and renamed into place when it is whole.
constexpr const char* kUnfinishedEnding = ".unfertig";
// The columns of BEWOHNER that the program reads and writes; a database without them cannot be worked on.
constexpr const char* kResidentColumns[] = {"ID", "Name", "Vorname", "Wnr", "sernr", "AUSLOESUNG", "code"};

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

// "2026-12-06_14-03-00" -> "06.12.2026 14:03:00"
std::string whenOf(const std::string& folder) {
    return folder.substr(8, 2) + "." + folder.substr(5, 2) + "." + folder.substr(0, 4) + " " +
           folder.substr(11, 2) + ":" + folder.substr(14, 2) + ":" + folder.substr(17, 2);
}

bool sameName(const std::string& a, const std::string& b) {
    return upper(a) == upper(b);
}

// backup/ itself: a folder of the installation folder, never a link; made when `create` asks for it.
std::unique_ptr<Folder> openBackupRoot(Folder& installation, bool create, std::string* why) {
    const std::string path = installation.path() + "/" + kBackupFolder;
    const EntryKind kind = installation.kind(kBackupFolder);
    if (kind == EntryKind::Missing && create && !installation.makeFolder(kBackupFolder, why)) {
        *why = "Der Ordner " + path + " kann nicht angelegt werden: " + *why;
        return nullptr;
    }
    if (kind != EntryKind::Missing && kind != EntryKind::Folder) {
        *why = "An der Stelle des Ordners " + path + " liegt eine Datei oder eine Verknüpfung.";
        return nullptr;
    }
    return installation.openFolder(kBackupFolder, why);
}

std::vector<std::string> backupNames(Folder& root) {
    std::vector<std::string> names;
    for (const auto& name : root.names())
        if (isBackupName(name) && root.kind(name) == EntryKind::Folder)
            names.push_back(name);
    return names;
}

// Only the files a backup holds are removed (a link among them as the link itself), never anything else a
// user put there; the folder goes when that leaves it empty.
void removeBackup(Folder& root, const std::string& name) {
    std::string why;
    if (const auto backup = root.openFolder(name, &why))
        for (const char* file : {kDatabaseFile, kSettingsFile})
            if (backup->kind(file) == EntryKind::File || backup->kind(file) == EntryKind::Link)
                backup->remove(file);
    root.removeFolder(name);
}

// The newest backup already holds these files (a crash came after it was renamed into place).
bool newestHolds(Folder& installation, Folder& root, const std::vector<KeptFile>& files) {
    const auto names = backupNames(root);
    std::string why;
    const auto newest = names.empty() ? nullptr : root.openFolder(names.back(), &why);
    if (!newest)
        return false;
    for (const auto& file : files) {
        const auto digest = installation.digest(file.name);
        if (!digest || newest->digest(file.nameInBackup) != digest)
            return false;
    }
    return true;
}

// The pair in the new folder `name` of backup/, built under a temporary name and renamed into place.
bool buildBackup(Folder& installation, Folder& root, const std::string& name,
                 const std::vector<KeptFile>& files, std::string* why,
                 const std::function<void(const std::string&)>& afterStep) {
    const std::string unfinished = name + kUnfinishedEnding;
    if (!root.makeFolder(unfinished, why))
        return false;
    auto folder = root.openFolder(unfinished, why);
    bool whole = folder != nullptr;
    for (std::size_t i = 0; whole && i < files.size(); ++i) {
        whole = installation.link(files[i].name, *folder, files[i].nameInBackup) ||
                installation.copy(files[i].name, *folder, files[i].nameInBackup, "", why);
        if (whole && afterStep)
            afterStep("Sicherung " + files[i].nameInBackup);
    }
    whole = whole && folder->sync(why) && root.rename(unfinished, root, name, why) && root.sync(why);
    if (!whole && root.kind(unfinished) == EntryKind::Folder)
        removeBackup(root, unfinished);
    return whole;
}

// No backup folder could be made: the pair stays in the installation folder under names of its own.
std::string keepBeside(Folder& installation, const std::vector<KeptFile>& files, const std::string& stamp) {
    std::string where, lost;
    for (const auto& file : files) {
        std::string kept = file.nameInBackup + ".vorher-" + stamp;
        for (int n = 2; installation.kind(kept) != EntryKind::Missing; ++n)
            kept = file.nameInBackup + ".vorher-" + stamp + "_" + std::to_string(n);
        std::string why;
        if (installation.rename(file.name, installation, kept, &why))
            where += (where.empty() ? "" : " und ") + installation.path() + "/" + kept;
        else
            lost +=
                "\nDie vorige Fassung von " + file.nameInBackup + " konnte nicht aufbewahrt werden: " + why;
    }
    installation.sync(nullptr);
    return (where.empty() ? "" : "\nDie vorige Fassung liegt in " + where + ".") + lost;
}

// The checks of a backup before it is listed or restored; empty when it can be restored, else the German
// reason. Fills the list's counts.
std::string faultOf(Folder& backup, BackupInfo* info) {
    if (backup.kind(kDatabaseFile) != EntryKind::File || backup.kind(kSettingsFile) != EntryKind::File)
        return "Die Sicherung " + info->folder + " ist nicht vollständig.";
    std::string why;
    const auto db = Database::openReadOnly(backup.resolvedPath() + "/" + kDatabaseFile, &why);
    if (!db)
        return "QBXDATA.MDB der Sicherung ist nicht lesbar: " + why;
    const auto columns = db->columns("BEWOHNER");
    for (const char* wanted : kResidentColumns) {
        bool found = false;
        for (const auto& column : columns)
            found = found || sameName(column, wanted);
        if (!found)
            return columns.empty()
                       ? "QBXDATA.MDB der Sicherung hat keine Tabelle BEWOHNER."
                       : std::string("Der Tabelle BEWOHNER der Sicherung fehlt die Spalte ") + wanted + ".";
    }
    const auto rows = db->query("SELECT count(*) FROM BEWOHNER", {}, &why);
    if (!rows || rows->empty())
        return "QBXDATA.MDB der Sicherung ist nicht lesbar: " + why;
    info->residents = static_cast<int>(leadingNumber(dbText(rows->at(0).at(0))));
    const auto settings = backup.read(kSettingsFile);
    if (!settings)
        return "ANLAGE99.INI der Sicherung ist nicht lesbar.";
    const IniDocument document = IniDocument::parse(*settings);
    info->stations = 0;
    for (int number = 0; number < kStationSlots; ++number)
        if (!document.value(kStationSection, stationKey(number)).value_or("").empty())
            ++info->stations;
    return {};
}

void reopenWorkingCopy(Program& program) {
    program.useDatabase(Database::open(program.path(kDatabaseCopy)));
}

bool restoreFailed(Program& program, const std::string& why) {
    reopenWorkingCopy(program);
    program.msgBox("Die Sicherung konnte nicht wiederhergestellt werden.\n\n" + why +
                       "\n\nBewohner und Einstellungen sind unverändert.",
                   MsgIcon::Exclamation, MsgButtons::Ok);
    return false;
}

}  // namespace

std::unique_ptr<Folder> openBackup(Program& program, const std::string& name, std::string* why) {
    if (!isBackupName(name)) {
        *why = "Die Sicherung " + name + " ist nicht vollständig.";
        return nullptr;
    }
    const auto installation = program.fs.openFolder(program.folder, why);
    const auto root = installation ? openBackupRoot(*installation, false, why) : nullptr;
    return root ? root->openFolder(name, why) : nullptr;
}

std::vector<BackupInfo> ListBackups(Program& program) {
    std::vector<BackupInfo> list;
    std::string why;
    const auto installation = program.fs.openFolder(program.folder, &why);
    const auto root = installation ? openBackupRoot(*installation, false, &why) : nullptr;
    if (!root)
        return list;
    // Newest first.
    auto names = backupNames(*root);
    std::reverse(names.begin(), names.end());
    for (const std::string& name : names) {
        BackupInfo info{name, whenOf(name)};
        const auto backup = root->openFolder(name, &why);
        if (backup && faultOf(*backup, &info).empty())
            list.push_back(info);
    }
    return list;
}

bool RestoreBackup(Program& program, const std::string& folder) {
    const std::string database = program.path(kDatabaseCopy);
    const std::string staged = database + ".wiederherstellen";
    program.closeDatabase();
    std::string why;
    const auto backup = openBackup(program, folder, &why);
    if (!backup)
        return restoreFailed(program, why);
    BackupInfo info{folder, whenOf(folder)};
    if (const std::string fault = faultOf(*backup, &info); !fault.empty())
        return restoreFailed(program, fault);
    if (!Database::backup(backup->resolvedPath() + "/" + kDatabaseFile, staged, &why)) {
        program.fs.deleteFile(staged);
        return restoreFailed(program, "QBXDATA.MDB der Sicherung ist nicht lesbar: " + why);
    }
    const auto settings = backup->read(kSettingsFile);
    const auto settingsBefore = program.fs.readFile(program.path(kSettingsCopy));
    if (!settings || !settingsBefore || !program.fs.writeFileAtomic(program.path(kSettingsCopy), *settings)) {
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
    EventLog(program, "Sicherung vom " + info.when + " wiederhergestellt");
    program.restoredBackup = info.when;
    return true;
}

std::vector<std::string> BackupFolders(Program& program) {
    std::string why;
    const auto installation = program.fs.openFolder(program.folder, &why);
    const auto root = installation ? openBackupRoot(*installation, false, &why) : nullptr;
    return root ? backupNames(*root) : std::vector<std::string>{};
}

void RemoveUnfinishedBackups(Folder& installation) {
    std::string why;
    const auto root = openBackupRoot(installation, false, &why);
    if (!root)
        return;
    for (const auto& name : root->names())
        if (name.ends_with(kUnfinishedEnding) && root->kind(name) == EntryKind::Folder)
            removeBackup(*root, name);
}

bool KeepPreviousPair(Program& program, Folder& installation, const std::vector<KeptFile>& files,
                      std::string* why, const std::function<void(const std::string&)>& afterStep) {
    const std::string stamp = stampOf(program.loop.clock().now());
    const auto root = openBackupRoot(installation, true, why);
    if (!root) {
        *why += keepBeside(installation, files, stamp);
        return false;
    }
    if (!newestHolds(installation, *root, files)) {
        std::string name = stamp;
        for (int n = 2; root->kind(name) != EntryKind::Missing ||
                        root->kind(name + kUnfinishedEnding) != EntryKind::Missing;
             ++n)
            name = stamp + "_" + std::to_string(n);
        if (!buildBackup(installation, *root, name, files, why, afterStep)) {
            *why += keepBeside(installation, files, stamp);
            return false;
        }
    }
    auto kept = backupNames(*root);
    while (kept.size() > kBackupsKept) {
        removeBackup(*root, kept.front());
        kept.erase(kept.begin());
    }
    return true;
}

}  // namespace pnl
