#include "app/commit.h"

#include <algorithm>

#include "app/backups.h"
#include "app/commit_record.h"
#include "app/event_log.h"
#include "app/program.h"

namespace pnl {

namespace {

constexpr const char* kFinishedText = "Die letzte Sicherung wurde unterbrochen und beim Start abgeschlossen.";
constexpr const char* kUndoneText =
    "Die letzte Sicherung wurde unterbrochen und beim Start rückgängig gemacht.";

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

// Every folder whose entries a commit changes: the originals' folders and the installation folder.
std::vector<std::string> foldersOf(Program& program, const std::vector<CommitEntry>& entries) {
    std::vector<std::string> folders{program.folder};
    for (const auto& e : entries)
        if (std::find(folders.begin(), folders.end(), folderOf(e.target)) == folders.end())
            folders.push_back(folderOf(e.target));
    return folders;
}

std::vector<CommitEntry> plannedEntries(Program& program) {
    std::vector<CommitEntry> entries;
    for (const char* name : {kDatabaseFile, kSettingsFile}) {
        CommitEntry e;
        e.name = name;
        e.target = program.fs.resolveLinks(program.path(name));
        e.staged = e.target + kNewSuffix;
        e.kept = e.target + kOldSuffix;
        entries.push_back(e);
    }
    return entries;
}

void removeIfThere(Program& program, const std::string& path) {
    if (program.fs.fileExists(path))
        program.fs.deleteFile(path);
}

bool matches(Program& program, const std::string& path, const FileDigest& digest) {
    return program.fs.fileExists(path) && program.fs.digest(path) == digest;
}

// "QBXDATA.MDB ist die neue Fassung, ANLAGE99.INI die alte." for the files as they are now.
std::string statesOf(Program& program, const std::vector<CommitEntry>& entries) {
    std::string text;
    for (const auto& e : entries) {
        std::string state = "in einem unbekannten Zustand";
        if (matches(program, e.target, e.newDigest))
            state = "die neue Fassung";
        else if (e.oldDigest ? matches(program, e.target, *e.oldDigest) : !program.fs.fileExists(e.target))
            state = "die alte Fassung";
        text += (text.empty() ? "" : ", ") + e.name + " ist " + state;
    }
    std::string where;
    for (const auto& e : entries) {
        if (program.fs.fileExists(e.staged))
            where += "\nDie neue Fassung von " + e.name + " liegt in " + e.staged + ".";
        if (program.fs.fileExists(e.kept))
            where += "\nDie alte Fassung von " + e.name + " liegt in " + e.kept + ".";
    }
    return text + "." + where;
}

// Leftovers of an interrupted atomic write ("NAME.tmp-PID-N").
bool isTempLeftover(const std::string& name) {
    const auto at = name.rfind(".tmp-");
    if (at == std::string::npos)
        return false;
    const std::string rest = name.substr(at + 5);
    const auto dash = rest.find('-');
    auto digits = [](const std::string& s) {
        return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return dash != std::string::npos && digits(rest.substr(0, dash)) && digits(rest.substr(dash + 1));
}

// Without a record no commit is under way: new files and kept old files are leftovers.
void removeStaging(Program& program, const std::vector<CommitEntry>& entries) {
    for (const auto& e : entries) {
        removeIfThere(program, e.staged);
        removeIfThere(program, e.kept);
    }
}

// Temporary files of writes a crash interrupted; under the installation's lock no write is under way.
void removeTempLeftovers(Program& program, const std::vector<CommitEntry>& entries) {
    for (const auto& folder : foldersOf(program, entries))
        for (const auto& name : program.fs.listFolder(folder))
            if (isTempLeftover(name) && program.fs.fileExists(folder + "/" + name))
                program.fs.deleteFile(folder + "/" + name);
}

// The new files are in place: the old ones go to backup/, then the leftovers and, last, the record. False
// with a note for the user when something could not be tidied up (the record then stays for the next start).
bool completeCommit(Program& program, const std::vector<CommitEntry>& entries, std::string* note) {
    std::vector<std::pair<std::string, std::string>> previous;
    for (const auto& e : entries)
        if (e.oldDigest && matches(program, e.kept, *e.oldDigest))
            previous.emplace_back(e.name, e.kept);
    std::string why;
    if (!previous.empty() && !KeepPreviousPair(program, previous, &why))
        *note += "Die vorige Fassung konnte nicht unter backup/ abgelegt werden: " + why + "\n";
    bool tidy = true;
    for (const auto& e : entries) {
        for (const auto& path : {e.staged, e.kept}) {
            removeIfThere(program, path);
            if (program.fs.fileExists(path)) {
                *note += "Die Datei " + path + " konnte nicht entfernt werden.\n";
                tidy = false;
            }
        }
    }
    if (!tidy)
        return false;
    const std::string record = program.path(kCommitRecordFile);
    if (!program.fs.deleteFile(record) || !program.fs.syncFolder(program.folder, &why)) {
        *note += "Der Abschluss der Sicherung konnte nicht auf den Datenträger geschrieben werden.\n";
        return false;
    }
    return true;
}

class Commit {
  public:
    Commit(Program& program, const CommitStepHook& hook)
        : program_(program), fs_(program.fs), hook_(hook), entries_(plannedEntries(program)) {}

    CommitResult run() {
        const std::string copies[] = {program_.path(kDatabaseCopy), program_.path(kSettingsCopy)};
        // 1. Rights, before anything is touched.
        for (const auto& path : {entries_[0].target, entries_[1].target, program_.path(kCommitRecordFile)}) {
            const std::string refusal = fs_.replaceRefusal(path);
            if (!refusal.empty())
                return notSaved(refusal, MsgIcon::Exclamation);
        }
        std::string why;
        // A journal or log of another program beside QBXDATA.MDB would be played into the new file.
        if (!Database::settle(entries_[0].target, &why))
            return notSaved("QBXDATA.MDB wird gerade von einem anderen Programm benutzt:\n" + why,
                            MsgIcon::Exclamation);
        // 2. The new files beside the originals, flushed; the old ones kept under a second name.
        removeStaging(program_, entries_);
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            CommitEntry& e = entries_[i];
            if (!fs_.copyFlushed(copies[i], e.staged, e.target, &why))
                return abandon(e.name + " kann nicht geschrieben werden: " + why);
            step("neu " + e.name);
            if (fs_.fileExists(e.target)) {
                if (!fs_.linkFile(e.target, e.kept) && !fs_.copyFlushed(e.target, e.kept, e.target, &why))
                    return abandon("Die alte Fassung von " + e.name +
                                   " kann nicht aufbewahrt werden: " + why);
                step("alt " + e.name);
            }
            const auto fresh = fs_.digest(e.staged);
            const auto wanted = fs_.digest(copies[i]);
            if (!fresh || fresh != wanted)
                return abandon(e.name + " wurde nicht vollständig geschrieben.");
            e.newDigest = *fresh;
            if (fs_.fileExists(e.kept)) {
                e.oldDigest = fs_.digest(e.kept);
                if (!e.oldDigest)
                    return abandon("Die alte Fassung von " + e.name + " kann nicht gelesen werden.");
            }
        }
        for (const auto& folder : foldersOf(program_, entries_))
            if (!fs_.syncFolder(folder, &why))
                return abandon("Der Datenträger hat das Schreiben nicht bestätigt: " + why);
        // 3. The record: from here on a start after a crash finishes the commit.
        const std::string record = program_.path(kCommitRecordFile);
        if (!fs_.writeFileAtomic(record, formatCommitRecord(entries_)) ||
            !fs_.syncFolder(program_.folder, &why)) {
            removeIfThere(program_, record);
            return abandon("Der Sicherungsdatensatz " + record + " kann nicht geschrieben werden.");
        }
        step("Datensatz");
        // 4. The renames, each followed by a flush of its folder.
        bool confirmed = true;
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            const CommitEntry& e = entries_[i];
            if (!fs_.renameFile(e.staged, e.target, &why))
                return rollBack(i, e.name + " kann nicht ersetzt werden: " + why);
            step("ersetzt " + e.name);
            if (!fs_.syncFolder(folderOf(e.target), &why))
                confirmed = false;
        }
        // 5. The old pair to backup/, the leftovers away, the record last.
        std::string note;
        if (!confirmed || !completeCommit(program_, entries_, &note)) {
            if (!confirmed)
                note += "Der Datenträger hat das Schreiben nicht bestätigt.\n";
            return CommitResult{
                CommitOutcome::Unfinished,
                "Die Änderungen wurden übernommen, aber die Sicherung ist nicht abgeschlossen:\n" + note +
                    statesOf(program_, entries_) +
                    "\nBeim nächsten Start prüft das Setup beide Dateien und schließt die "
                    "Sicherung ab.",
                MsgIcon::Exclamation};
        }
        step("fertig");
        return CommitResult{CommitOutcome::Saved, note, MsgIcon::None};
    }

  private:
    void step(const std::string& name) {
        if (hook_)
            hook_(name);
    }

    CommitResult notSaved(const std::string& reason, MsgIcon icon) {
        return CommitResult{CommitOutcome::NotSaved, reason, icon};
    }

    // Nothing was replaced yet: the new and kept files go, the originals are as they were.
    CommitResult abandon(const std::string& reason) {
        removeStaging(program_, entries_);
        return notSaved(reason, MsgIcon::Critical);
    }

    // The rename of entry `failed` did not happen: the originals replaced before it get their old content
    // back. When that fails too, the record stays and the next start finishes the commit.
    CommitResult rollBack(std::size_t failed, const std::string& reason) {
        std::string why;
        bool back = true;
        for (std::size_t i = 0; i < failed; ++i) {
            const CommitEntry& e = entries_[i];
            const bool restored =
                e.oldDigest ? fs_.renameFile(e.kept, e.target, &why) : fs_.deleteFile(e.target);
            back = restored && fs_.syncFolder(folderOf(e.target), &why) && back;
        }
        if (back) {
            const std::string record = program_.path(kCommitRecordFile);
            if (fs_.deleteFile(record) && fs_.syncFolder(program_.folder, &why))
                return abandon(reason);
            back = false;
        }
        return CommitResult{CommitOutcome::Unfinished,
                            "Die Änderungen wurden nicht vollständig übernommen!\n\n" + reason +
                                "\nAuch die alte Fassung konnte nicht zurückgeschrieben werden.\n\n" +
                                statesOf(program_, entries_) +
                                "\n\nBeim nächsten Start schließt das Setup die Sicherung ab.",
                            MsgIcon::Critical};
    }

    Program& program_;
    FileSystem& fs_;
    const CommitStepHook& hook_;
    std::vector<CommitEntry> entries_;
};

RecoveryOutcome unresolved(Program& program, const std::string& text) {
    program.msgBox(
        "Die letzte Sicherung wurde unterbrochen und kann nicht automatisch abgeschlossen oder "
        "rückgängig gemacht werden.\n\n" +
            text + "\n\nBitte prüfen Sie die Dateien, bevor Sie das Setup wieder starten. Die Datei " +
            program.path(kCommitRecordFile) + " beschreibt die Sicherung.",
        MsgIcon::Critical, MsgButtons::Ok);
    return RecoveryOutcome::Unresolved;
}

RecoveryOutcome told(Program& program, RecoveryOutcome outcome, const std::string& note) {
    const std::string text = outcome == RecoveryOutcome::Finished ? kFinishedText : kUndoneText;
    EventLog(program, text);
    program.msgBox(note.empty() ? text : text + "\n\n" + note, MsgIcon::Information, MsgButtons::Ok);
    return outcome;
}

}  // namespace

CommitResult CommitWorkingCopies(Program& program, const CommitStepHook& afterStep) {
    // A commit of this run that could not be completed is settled first.
    if (program.fs.fileExists(program.path(kCommitRecordFile)) &&
        FinishInterruptedCommit(program) == RecoveryOutcome::Unresolved)
        return CommitResult{
            CommitOutcome::NotSaved,
            "Die vorige Sicherung ist noch nicht abgeschlossen (" + program.path(kCommitRecordFile) + ").",
            MsgIcon::Critical};
    return Commit(program, afterStep).run();
}

RecoveryOutcome FinishInterruptedCommit(Program& program) {
    FileSystem& fs = program.fs;
    const std::string recordPath = program.path(kCommitRecordFile);
    if (!fs.fileExists(recordPath)) {
        // A commit interrupted before its record had replaced nothing: its new and kept files are dropped.
        const auto planned = plannedEntries(program);
        removeTempLeftovers(program, planned);
        bool interrupted = false;
        for (const auto& e : planned)
            interrupted = interrupted || fs.fileExists(e.staged) || fs.fileExists(e.kept);
        if (!interrupted)
            return RecoveryOutcome::Nothing;
        removeStaging(program, planned);
        return told(program, RecoveryOutcome::Undone, "");
    }
    const auto text = fs.readFile(recordPath);
    const auto parsed = text ? parseCommitRecord(*text) : std::nullopt;
    if (!parsed)
        return unresolved(program, "Die Datei " + recordPath + " ist unlesbar.");
    const std::vector<CommitEntry>& entries = *parsed;
    removeTempLeftovers(program, entries);

    // Finish when every new file is complete (in place or beside it), else undo when every old one is.
    bool canFinish = true, canUndo = true;
    for (const auto& e : entries) {
        canFinish =
            canFinish && (matches(program, e.target, e.newDigest) || matches(program, e.staged, e.newDigest));
        const bool oldInPlace =
            e.oldDigest ? matches(program, e.target, *e.oldDigest) : !fs.fileExists(e.target);
        canUndo = canUndo && (oldInPlace || (e.oldDigest && matches(program, e.kept, *e.oldDigest)));
    }
    std::string why;
    if (canFinish) {
        for (const auto& e : entries) {
            if (matches(program, e.target, e.newDigest))
                continue;
            if (!fs.renameFile(e.staged, e.target, &why) || !fs.syncFolder(folderOf(e.target), &why))
                return unresolved(program, why + "\n" + statesOf(program, entries));
        }
        std::string note;
        if (!completeCommit(program, entries, &note))
            return unresolved(program, note + statesOf(program, entries));
        return told(program, RecoveryOutcome::Finished, note);
    }
    if (canUndo) {
        for (const auto& e : entries) {
            if (e.oldDigest ? matches(program, e.target, *e.oldDigest) : !fs.fileExists(e.target))
                continue;
            const bool ok = e.oldDigest ? fs.renameFile(e.kept, e.target, &why) : fs.deleteFile(e.target);
            if (!ok || !fs.syncFolder(folderOf(e.target), &why))
                return unresolved(program, why + "\n" + statesOf(program, entries));
        }
        removeStaging(program, entries);
        if (!fs.deleteFile(recordPath) || !fs.syncFolder(program.folder, &why))
            return unresolved(program, "Die Datei " + recordPath + " kann nicht entfernt werden.");
        return told(program, RecoveryOutcome::Undone, "");
    }
    return unresolved(program, statesOf(program, entries));
}

}  // namespace pnl
