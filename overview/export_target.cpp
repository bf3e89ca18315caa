#include "overview/export_target.h"

#include "app/backups.h"
#include "app/commit_record.h"
#include "app/event_log.h"
#include "app/instance_lock.h"
#include "app/program.h"
#include "app/text.h"
#include "stations/transfer_dialog.h"

namespace pnl {
namespace {

// The file itself, or one made beside it while it is written ("QBXDATA.MDB.neu", "ANLAGE99.INI.tmp-1-2",
// "QBXDATA.MDB-journal").
bool isOrBeside(const std::string& name, const std::string& file) {
    return name == file || name.starts_with(file + ".") || name.starts_with(file + "-");
}

// "PNL07_STAND.TXT" and what is made beside it.
bool isStationState(const std::string& name) {
    return name.size() >= 15 && name.starts_with("PNL") && allDigits(name.substr(3, 2)) &&
           isOrBeside(name.substr(5), "_STAND.TXT");
}

std::string refusal(const std::string& path, const std::string& why) {
    return "Der Export kann nicht nach " + path + " schreiben: " + why +
           "\nBitte wählen Sie einen anderen Dateinamen.";
}

}  // namespace

bool isInstallationFile(const std::string& name) {
    const std::string upperName = upper(name);
    for (const char* file : {kDatabaseFile, kSettingsFile, kDatabaseCopy, kSettingsCopy, kLockFile,
                             kOwnSettingsFile, kCommitRecordFile, kLogFolder, kBackupFolder})
        if (isOrBeside(upperName, upper(file)))
            return true;
    return isStationState(upperName);
}

std::string exportTargetRefusal(Program& program, const std::string& path) {
    switch (program.fs.entryKind(path)) {
        case EntryKind::Missing:
        case EntryKind::File:
            break;
        case EntryKind::Folder:
            return refusal(path, "dort liegt ein Ordner.");
        case EntryKind::Link:
            return refusal(path, "dort liegt ein symbolischer Verweis.");
        case EntryKind::Other:
            return refusal(path, "dort liegt keine gewöhnliche Datei (ein Gerät oder eine Pipe).");
    }
    // The folders compared as the system finds them, so that no other spelling ("./", "..", a link to the
    // folder) reaches the installation's files. A folder that does not open refuses the write itself.
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto targetFolder = program.fs.openFolder(folder, nullptr);
    const auto installationFolder = program.fs.openFolder(program.folder, nullptr);
    if (!targetFolder || !installationFolder)
        return {};
    const std::string& installation = installationFolder->resolvedPath();
    const std::string& target = targetFolder->resolvedPath();
    std::string owned;
    if (target == installation && isInstallationFile(name))
        owned = name;
    else if (target.starts_with(installation + "/"))
        if (const std::string below = target.substr(installation.size() + 1);
            isInstallationFile(below.substr(0, below.find('/'))))
            owned = below.substr(0, below.find('/'));
    if (owned.empty())
        return {};
    return refusal(path, owned + " gehört zur Anlage in " + program.folder + " und bleibt unverändert.");
}

}  // namespace pnl
