#pragma once
// An advisory lock on a file (flock). It is held until release() or the end of the process, so a run that
// crashed never blocks the next one: a lock file left behind is no lock.

#include <string>

#include "platform/descriptor.h"

namespace pnl {

// Why a lock file could not be used.
struct LockFailure {
    std::string cause;  // German, e.g. "Keine Zugriffsrechte."
    std::string owner;  // the user the file belongs to; empty when there is no such file
};

class FileLock {
  public:
    enum class Result { Locked, HeldElsewhere, Failed };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Opens the file, never through a symbolic link, and takes the lock without waiting. A missing file is
    // created readable and writable for every user whatever the umask, so that any user of the folder can
    // take it later; a file of this user is given that mode too. Locked: the file now holds `note`.
    // HeldElsewhere: a running process holds it; *holderNote gets its note. Failed: the file cannot be opened
    // for writing, is no plain file, or cannot be locked; *failure says why and whose it is.
    Result tryLock(const std::string& path, const std::string& note, std::string* holderNote = nullptr,
                   LockFailure* failure = nullptr);
    bool held() const { return file_.valid(); }
    // Empties the note and gives the lock up; the file stays (removing it would let two runs lock two files).
    void release();

  private:
    Descriptor file_;
};

// The decimal id of this process.
std::string currentProcessId();

}  // namespace pnl
