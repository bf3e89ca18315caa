#include "app/commit_pair.h"

#include <algorithm>

#include "app/backups.h"
#include "app/program.h"
#include "app/text.h"

namespace pnl {

bool isTemporaryLeftover(const std::string& name) {
    const auto at = name.rfind(".tmp-");
    if (at == std::string::npos)
        return false;
    std::string rest = name.substr(at + 5);
    for (const char* engineFile : {"-journal", "-wal", "-shm"})
        if (rest.ends_with(engineFile)) {
            rest.resize(rest.size() - std::string(engineFile).size());
            break;
        }
    const auto dash = rest.find('-');
    return dash != std::string::npos && allDigits(rest.substr(0, dash)) && allDigits(rest.substr(dash + 1));
}

std::vector<CommitEntry> CommitPair::planned() {
    CommitEntry database, settings;
    database.name = kDatabaseFile;
    database.inPlace = true;
    settings.name = kSettingsFile;
    return {database, settings};
}

std::optional<std::string> CommitPair::stateOf(const CommitEntry& e, const std::string& name) const {
    if (folder_.kind(name) != EntryKind::File)
        return std::nullopt;
    if (e.inPlace)
        return Database::contentDigest(folder_.resolvedPath() + "/" + name);
    const auto digest = folder_.digest(name);
    if (!digest)
        return std::nullopt;
    return fileState(*digest);
}

bool CommitPair::holds(const CommitEntry& e, const std::string& name, const std::string& state) const {
    const auto found = stateOf(e, name);
    return found && *found == state;
}

CommitPair::State CommitPair::originalState(const CommitEntry& e) const {
    const auto found = stateOf(e, e.name);
    if (found && *found == e.newState)
        return State::New;
    return found && *found == e.oldState ? State::Old : State::Changed;
}

std::optional<std::string> CommitPair::foreignEntry() const {
    for (const auto& e : entries_)
        for (const auto& name : {e.name, e.staged(), e.kept()}) {
            const EntryKind kind = folder_.kind(name);
            if (kind != EntryKind::Missing && kind != EntryKind::File)
                return name;
        }
    return std::nullopt;
}

bool CommitPair::canFinish() const {
    return std::all_of(entries_.begin(), entries_.end(), [this](const CommitEntry& e) {
        return originalState(e) == State::New || holds(e, e.staged(), e.newState);
    });
}

bool CommitPair::canUndo() const {
    return std::all_of(entries_.begin(), entries_.end(), [this](const CommitEntry& e) {
        return originalState(e) == State::Old || holds(e, e.kept(), e.oldState);
    });
}

bool CommitPair::putInPlace(const CommitEntry& e, const std::string& source, std::string* why,
                            const CommitStepHook& hook, int* failure) {
    if (!e.inPlace)
        return folder_.rename(source, folder_, e.name, why) && folder_.sync(why);
    const std::string folder = folder_.resolvedPath() + "/";
    return Database::copyInto(folder + source, folder + e.name, why, failure, [&](const std::string& step) {
        if (hook)
            hook("ersetzt " + e.name + ": " + step);
    });
}

bool CommitPair::finish(std::string* why, const CommitStepHook& hook, int* failure) {
    for (const auto& e : entries_) {
        if (originalState(e) == State::New)
            continue;
        if (!putInPlace(e, e.staged(), why, hook, failure))
            return false;
        if (hook)
            hook("ersetzt " + e.name);
    }
    return true;
}

bool CommitPair::undo(std::string* why) {
    for (const auto& e : entries_)
        if (originalState(e) != State::Old && !putInPlace(e, e.kept(), why, {}, nullptr))
            return false;
    return true;
}

void CommitPair::removeStaging() {
    for (const auto& e : entries_)
        for (const auto& name : {e.staged(), e.kept()})
            if (folder_.kind(name) != EntryKind::Missing)
                folder_.remove(name);
}

bool CommitPair::complete(std::string* note, const CommitStepHook& hook) {
    // Only a whole old pair is kept: one kept file alone means the backup was made before a crash.
    std::vector<KeptFile> previous;
    for (const auto& e : entries_)
        if (holds(e, e.kept(), e.oldState))
            previous.push_back(KeptFile{e.kept(), e.name});
    std::string why;
    if (previous.size() == entries_.size() && !KeepPreviousPair(program_, folder_, previous, &why, hook))
        *note += "Die vorige Fassung konnte nicht unter backup/ abgelegt werden: " + why + "\n";
    if (hook)
        hook("Sicherung");
    bool tidy = true;
    for (const auto& e : entries_) {
        for (const auto& name : {e.staged(), e.kept()}) {
            if (folder_.kind(name) != EntryKind::Missing && !folder_.remove(name)) {
                *note += "Die Datei " + program_.path(name) + " konnte nicht entfernt werden.\n";
                tidy = false;
            }
        }
    }
    if (!tidy)
        return false;
    if (!folder_.remove(kCommitRecordFile) || !folder_.sync(&why)) {
        *note += "Der Abschluss der Sicherung konnte nicht auf den Datenträger geschrieben werden.\n";
        return false;
    }
    return true;
}

std::string CommitPair::describe() const {
    std::string text;
    for (const auto& e : entries_) {
        const State state = originalState(e);
        text += (text.empty() ? "" : ", ") + e.name + " ist " +
                (state == State::New   ? "die neue Fassung"
                 : state == State::Old ? "die alte Fassung"
                                       : "in einem unbekannten Zustand");
    }
    std::string where;
    for (const auto& e : entries_) {
        if (folder_.kind(e.staged()) == EntryKind::File)
            where += "\nDie neue Fassung von " + e.name + " liegt in " + program_.path(e.staged()) + ".";
        if (folder_.kind(e.kept()) == EntryKind::File)
            where += "\nDie alte Fassung von " + e.name + " liegt in " + program_.path(e.kept()) + ".";
    }
    return text + "." + where;
}

}  // namespace pnl
