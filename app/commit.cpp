#include "app/commit.h"

#include "app/backups.h"
#include "app/commit_pair.h"
#include "app/event_log.h"
#include "app/program.h"
#include "platform/failure_text.h"

namespace pnl {

namespace {

constexpr const char* kFinishedText = "Die letzte Sicherung wurde unterbrochen und beim Start abgeschlossen.";
constexpr const char* kUndoneText =
    "Die letzte Sicherung wurde unterbrochen und beim Start rückgängig gemacht.";

// Temporary files of writes a crash interrupted, and backup folders it left unfinished; under the
// installation's lock no write is under way. Only the installation folder is looked at.
void removeTemporaryLeftovers(Folder& folder) {
    for (const auto& name : folder.names()) {
        const EntryKind kind = folder.kind(name);
        if (isTemporaryLeftover(name) && (kind == EntryKind::File || kind == EntryKind::Link))
            folder.remove(name);
    }
    RemoveUnfinishedBackups(folder);
}

// Why the commit may not replace this original: it must be a file of the installation folder itself.
std::string refusalOf(Program& program, Folder& folder, const CommitEntry& e) {
    switch (folder.kind(e.name)) {
        case EntryKind::File:
            return folder.replaceRefusal(e.name);
        case EntryKind::Missing:
            return e.inPlace ? "Datenbank QBXDATA.MDB nicht gefunden!" : "ANLAGE99.INI nicht gefunden!";
        case EntryKind::Link:
            return "Die Datei " + program.path(e.name) +
                   " ist eine Verknüpfung (symbolischer Link). Das Setup ersetzt nur Dateien, die im "
                   "Installationsordner selbst liegen.";
        default:
            return "Die Datei " + program.path(e.name) + " ist keine gewöhnliche Datei.";
    }
}

class Commit {
  public:
    Commit(Program& program, Folder& folder, const CommitStepHook& hook)
        : program_(program), folder_(folder), hook_(hook), pair_(program, folder, CommitPair::planned()) {}

    CommitResult run() {
        auto& entries = pair_.entries();
        // 1. Rights, before anything is touched.
        for (const auto& e : entries) {
            const std::string refusal = refusalOf(program_, folder_, e);
            if (!refusal.empty())
                return notSaved(refusal, MsgIcon::Exclamation);
        }
        if (const std::string refusal = folder_.replaceRefusal(kCommitRecordFile); !refusal.empty())
            return notSaved(refusal, MsgIcon::Exclamation);
        std::string why;
        // Read once for writing: a journal that another program left when it crashed is rolled back, which
        // the read-only copy of the old content could not do.
        if (!Database::contentDigest(pathOf(kDatabaseFile), &why))
            return notSaved("QBXDATA.MDB kann nicht gelesen werden:\n" + why, MsgIcon::Exclamation);
        // 2. The new content and the old one beside each original, flushed.
        pair_.removeStaging();
        if (!stageDatabase(entries[0], &why) || !stageSettings(entries[1], &why))
            return abandon(why);
        if (!folder_.sync(&why))
            return abandon("Der Datenträger hat das Schreiben nicht bestätigt: " + why);
        // 3. The record: from here on a start after a crash finishes the commit.
        if (!folder_.writeAtomic(kCommitRecordFile, formatCommitRecord(entries), &why) ||
            !folder_.sync(&why)) {
            folder_.remove(kCommitRecordFile);
            return abandon("Der Sicherungsdatensatz " + program_.path(kCommitRecordFile) +
                           " kann nicht geschrieben werden.");
        }
        step("Datensatz");
        // 4. The database in place, then the settings file by a rename.
        int failure = 0;
        if (!pair_.finish(&why, hook_, &failure)) {
            if (isHeldDatabaseCode(failure))
                return rollBack("QBXDATA.MDB wird gerade von einem anderen Programm benutzt:\n" + why,
                                MsgIcon::Exclamation);
            const bool databaseDone = pair_.originalState(entries[0]) == CommitPair::State::New;
            return rollBack(std::string(databaseDone ? kSettingsFile : kDatabaseFile) +
                                " kann nicht ersetzt werden: " + why,
                            MsgIcon::Critical);
        }
        // 5. The old pair to backup/, the leftovers away, the record last.
        std::string note;
        if (!pair_.complete(&note, hook_))
            return CommitResult{
                CommitOutcome::Unfinished,
                "Die Änderungen wurden übernommen, aber die Sicherung ist nicht abgeschlossen:\n" + note +
                    pair_.describe() +
                    "\nBeim nächsten Start prüft das Setup beide Dateien und schließt die "
                    "Sicherung ab.",
                MsgIcon::Exclamation};
        step("fertig");
        return CommitResult{CommitOutcome::Saved, note, MsgIcon::None};
    }

  private:
    std::string pathOf(const std::string& name) const { return folder_.resolvedPath() + "/" + name; }

    void step(const std::string& name) {
        if (hook_)
            hook_(name);
    }

    // The database's new content is a copy of the working copy, the old one a copy of the original: each a
    // consistent copy through the database engine, flushed.
    bool stageDatabase(CommitEntry& e, std::string* why) {
        auto stepOf = [this](const std::string& prefix) {
            return [this, prefix](const std::string& step) { this->step(prefix + ": " + step); };
        };
        if (!Database::backup(pathOf(kDatabaseCopy), pathOf(e.staged()), why, nullptr,
                              stepOf("neu " + e.name)))
            return fail(why, e.name + " kann nicht geschrieben werden: " + *why);
        step("neu " + e.name);
        if (!Database::backup(pathOf(e.name), pathOf(e.kept()), why, nullptr, stepOf("alt " + e.name)))
            return fail(why, "Die alte Fassung von " + e.name + " kann nicht aufbewahrt werden: " + *why);
        step("alt " + e.name);
        const auto fresh = pair_.stateOf(e, e.staged());
        const auto old = pair_.stateOf(e, e.kept());
        if (!fresh || !old)
            return fail(why, e.name + " wurde nicht vollständig geschrieben.");
        e.newState = *fresh;
        e.oldState = *old;
        return true;
    }

    // The settings file's new content and its old one are flushed copies. The old one is no second name of
    // the original: a program that writes the original in place after a crash would change both.
    bool stageSettings(CommitEntry& e, std::string* why) {
        if (!folder_.copy(kSettingsCopy, folder_, e.staged(), e.name, why))
            return fail(why, e.name + " kann nicht geschrieben werden: " + *why);
        step("neu " + e.name);
        if (!folder_.copy(e.name, folder_, e.kept(), e.name, why))
            return fail(why, "Die alte Fassung von " + e.name + " kann nicht aufbewahrt werden: " + *why);
        step("alt " + e.name);
        const auto fresh = pair_.stateOf(e, e.staged());
        const auto old = pair_.stateOf(e, e.kept());
        const auto wanted = folder_.digest(kSettingsCopy);
        if (!fresh || !wanted || *fresh != fileState(*wanted))
            return fail(why, e.name + " wurde nicht vollständig geschrieben.");
        if (!old)
            return fail(why, "Die alte Fassung von " + e.name + " kann nicht gelesen werden.");
        e.newState = *fresh;
        e.oldState = *old;
        return true;
    }

    static bool fail(std::string* why, const std::string& reason) {
        *why = reason;
        return false;
    }

    CommitResult notSaved(const std::string& reason, MsgIcon icon) {
        return CommitResult{CommitOutcome::NotSaved, reason, icon};
    }

    // Nothing was replaced yet: the new and kept files go, the originals are as they were.
    CommitResult abandon(const std::string& reason, MsgIcon icon = MsgIcon::Critical) {
        pair_.removeStaging();
        return notSaved(reason, icon);
    }

    // A step after the record failed: the originals already replaced get their old content back, and the
    // commit is abandoned. When that fails too, the record stays and the next start finishes the commit.
    CommitResult rollBack(const std::string& reason, MsgIcon icon) {
        std::string why;
        if (pair_.undo(&why) && pair_.canUndo() && folder_.remove(kCommitRecordFile) && folder_.sync(&why))
            return abandon(reason, icon);
        return CommitResult{CommitOutcome::Unfinished,
                            "Die Änderungen wurden nicht vollständig übernommen!\n\n" + reason +
                                "\nAuch die alte Fassung konnte nicht zurückgeschrieben werden.\n\n" +
                                pair_.describe() +
                                "\n\nBeim nächsten Start schließt das Setup die Sicherung ab.",
                            MsgIcon::Critical};
    }

    Program& program_;
    Folder& folder_;
    const CommitStepHook& hook_;
    CommitPair pair_;
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

// The record is there: it is checked before anything is done through it, then the pair is finished when every
// new content is complete, else undone when every old one is.
RecoveryOutcome recover(Program& program, Folder& folder) {
    const std::string record = program.path(kCommitRecordFile);
    const auto text = folder.read(kCommitRecordFile);
    if (!text)
        return unresolved(program, "Die Datei " + record + " ist unlesbar.");
    std::string why;
    const auto entries = parseCommitRecord(*text, &why);
    if (!entries)
        return unresolved(program, "Die Datei " + record + " ist kein gültiger Sicherungsdatensatz. " + why +
                                       "\nSie wird nicht ausgeführt, und nichts wurde verändert.");
    CommitPair pair(program, folder, *entries);
    if (const auto foreign = pair.foreignEntry())
        return unresolved(program,
                          "Die Datei " + program.path(*foreign) +
                              " ist eine Verknüpfung (symbolischer Link) oder keine gewöhnliche Datei. "
                              "Die Datei " +
                              record + " wird nicht ausgeführt, und nichts wurde verändert.");
    removeTemporaryLeftovers(folder);
    // A file changed after the crash (by hand or by another program) is kept as it is, and so are the
    // commit's own versions of it.
    std::string changed;
    for (const auto& e : *entries)
        if (pair.originalState(e) == CommitPair::State::Changed)
            changed += e.name +
                       " wurde nach der unterbrochenen Sicherung verändert; diese Fassung bleibt in " +
                       program.path(e.name) + ".\n";
    if (!changed.empty())
        return unresolved(program, changed + pair.describe());
    if (pair.canFinish()) {
        std::string note;
        if (!pair.finish(&why))
            return unresolved(program, why + "\n" + pair.describe());
        if (!pair.complete(&note))
            return unresolved(program, note + pair.describe());
        return told(program, RecoveryOutcome::Finished, note);
    }
    if (pair.canUndo()) {
        if (!pair.undo(&why))
            return unresolved(program, why + "\n" + pair.describe());
        pair.removeStaging();
        if (!folder.remove(kCommitRecordFile) || !folder.sync(&why))
            return unresolved(program, "Die Datei " + record + " kann nicht entfernt werden.");
        return told(program, RecoveryOutcome::Undone, "");
    }
    return unresolved(program, pair.describe());
}

}  // namespace

CommitResult CommitWorkingCopies(Program& program, const CommitStepHook& afterStep) {
    std::string why;
    const auto folder = program.fs.openFolder(program.folder, &why);
    if (!folder)
        return CommitResult{CommitOutcome::NotSaved, why, MsgIcon::Critical};
    // A commit of this run that could not be completed is settled first.
    if (folder->kind(kCommitRecordFile) != EntryKind::Missing &&
        FinishInterruptedCommit(program) == RecoveryOutcome::Unresolved)
        return CommitResult{
            CommitOutcome::NotSaved,
            "Die vorige Sicherung ist noch nicht abgeschlossen (" + program.path(kCommitRecordFile) + ").",
            MsgIcon::Critical};
    return Commit(program, *folder, afterStep).run();
}

RecoveryOutcome FinishInterruptedCommit(Program& program) {
    std::string why;
    const auto folder = program.fs.openFolder(program.folder, &why);
    if (!folder)
        return RecoveryOutcome::Nothing;  // the start then reports the missing files
    const EntryKind record = folder->kind(kCommitRecordFile);
    if (record != EntryKind::Missing && record != EntryKind::File)
        return unresolved(program,
                          "Die Datei " + program.path(kCommitRecordFile) +
                              " ist eine Verknüpfung (symbolischer Link) oder keine gewöhnliche Datei; "
                              "sie wird nicht ausgeführt, und nichts wurde verändert.");
    if (record == EntryKind::File)
        return recover(program, *folder);
    // A commit interrupted before its record had replaced nothing: its new and kept files are dropped.
    removeTemporaryLeftovers(*folder);
    CommitPair pair(program, *folder, CommitPair::planned());
    bool interrupted = false;
    for (const auto& e : pair.entries())
        interrupted = interrupted || folder->kind(e.staged()) != EntryKind::Missing ||
                      folder->kind(e.kept()) != EntryKind::Missing;
    if (!interrupted)
        return RecoveryOutcome::Nothing;
    pair.removeStaging();
    return told(program, RecoveryOutcome::Undone, "");
}

}  // namespace pnl
