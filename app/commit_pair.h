#pragma once
// The two files of a commit as they lie in the installation folder, seen only through the folder's own
// descriptor: each original, its new content NAME.neu and its kept old content NAME.alt. The commit at exit
// and the recovery at the start both bring the pair to its new or its old state through these steps; the
// database is written in place (its readers see the new content at their next read), the settings file is
// replaced by a rename.

#include <optional>
#include <string>
#include <vector>

#include "app/commit.h"
#include "app/commit_record.h"

namespace pnl {

class Folder;
class Program;

class CommitPair {
  public:
    enum class State { Old, New, Changed };  // Changed: neither (missing, no file, or another content)

    CommitPair(Program& program, Folder& folder, std::vector<CommitEntry> entries)
        : program_(program), folder_(folder), entries_(std::move(entries)) {}

    // QBXDATA.MDB and ANLAGE99.INI, their states not yet known.
    static std::vector<CommitEntry> planned();

    std::vector<CommitEntry>& entries() { return entries_; }
    // The state of a file of the folder as the record tells it: the database's content digest, the settings
    // file's "<size> <sha256>". Nothing when it is no file (missing, a link, a folder) or cannot be read.
    std::optional<std::string> stateOf(const CommitEntry& e, const std::string& name) const;
    State originalState(const CommitEntry& e) const;
    // The first name of the pair that is there but is no file (a link, a folder): nothing is done through it.
    std::optional<std::string> foreignEntry() const;
    bool canFinish() const;
    bool canUndo() const;

    // Puts every new content in place, the database first; each step is reported to `hook`.
    bool finish(std::string* why, const CommitStepHook& hook = {}, int* failure = nullptr);
    // Puts every old content back.
    bool undo(std::string* why);
    // The new pair is in place: the old one goes to backup/, the new and kept files and, last, the record.
    // False with a note for the user when something could not be tidied up (the record then stays for the
    // next start).
    bool complete(std::string* note, const CommitStepHook& hook = {});
    // Removes the new and kept files (a link among them as the link itself).
    void removeStaging();
    // "QBXDATA.MDB ist die neue Fassung, ANLAGE99.INI ist die alte Fassung." and where the other versions
    // lie.
    std::string describe() const;

  private:
    bool holds(const CommitEntry& e, const std::string& name, const std::string& state) const;
    bool putInPlace(const CommitEntry& e, const std::string& source, std::string* why,
                    const CommitStepHook& hook, int* failure);

    Program& program_;
    Folder& folder_;
    std::vector<CommitEntry> entries_;
};

// Leftovers of an interrupted write: "NAME.tmp-PID-N", and the journal or log the database engine keeps
// beside such a file ("NAME.tmp-PID-N-journal").
bool isTemporaryLeftover(const std::string& name);

}  // namespace pnl
