#pragma once
// An advisory lock on a file (flock). It is held until release() or the end of the process, so a run that
// crashed never blocks the next one.

#include <string>

namespace pnl {

class FileLock {
  public:
    enum class Result { Locked, HeldElsewhere, Failed };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Opens the file (creating it when missing) and takes the lock without waiting. Locked: the file now
    // holds `note`. HeldElsewhere: *holderNote gets the note of the holder. Failed: the file cannot be
    // opened.
    Result tryLock(const std::string& path, const std::string& note, std::string* holderNote = nullptr);
    bool held() const { return fd_ >= 0; }
    // Empties the note and gives the lock up; the file stays (removing it would let two runs lock two files).
    void release();

  private:
    int fd_ = -1;
};

// The decimal id of this process.
std::string currentProcessId();

}  // namespace pnl
