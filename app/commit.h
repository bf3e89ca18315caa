#pragma once
// The commit of the working copies: QBXDATA_COPY.MDB and ANLAGE99_COPY.INI replace QBXDATA.MDB and
// ANLAGE99.INI as one step that survives a crash or a power cut (both or neither), and the start-up's half of
// it: finishing or undoing a commit that was interrupted. The database is written in place, so that another
// program holding it open reads the new residents; the settings file is replaced by a rename. Everything is
// done through the installation folder's own descriptor, by names in it. The order of writes and flushes is
// described in docs/commit.md.

#include <functional>
#include <string>

#include "platform/dialogs.h"

namespace pnl {

class Program;

enum class CommitOutcome {
    Saved,       // both originals hold the working copies; `message` may hold a note for the user
    NotSaved,    // both originals are as they were; `message` says why
    Unfinished,  // the originals are mixed or unconfirmed; `message` says which is which; the next start
                 // finishes the commit from its record
};

struct CommitResult {
    CommitOutcome outcome = CommitOutcome::NotSaved;
    std::string message;  // German, for a box or a line of a headless command
    MsgIcon icon = MsgIcon::None;
};

// Called after each step of the commit with the step's name (tests stop the process there).
using CommitStepHook = std::function<void(const std::string& step)>;

// Replaces both originals by the working copies. The caller has closed every connection on the database copy.
// An original that is a symbolic link or no file, a read-only original or a folder that may not be written
// refuses the commit before anything is touched; so does a reader that keeps the database locked for a few
// seconds. A successful commit keeps the previous pair under backup/.
CommitResult CommitWorkingCopies(Program& program, const CommitStepHook& afterStep = {});

enum class RecoveryOutcome {
    Nothing,     // no interrupted commit (temporary files of interrupted writes were removed)
    Finished,    // both originals now hold the new files
    Undone,      // both originals are back to the kept old files
    Unresolved,  // neither was possible; the user was told which file is in which state; nothing was removed
};

// Run at every start, under the installation's lock, before any file is read: finishes or undoes an
// interrupted commit, removes its leftovers and those of interrupted writes, tells the user and logs which it
// did. A record that names anything but the two files, a link among the commit's files, or an original
// changed since the crash stops it: nothing is changed and the record is kept.
RecoveryOutcome FinishInterruptedCommit(Program& program);

}  // namespace pnl
