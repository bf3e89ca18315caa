#pragma once
// Scenes shared by the app tests: a sample installation started at level 5 with a run's changes, a file
// system that fails on cue, and level records written sealed.

#include <map>
#include <string>
#include <vector>

#include "app/program.h"
#include "support/installation.h"

namespace pnl::test {

// The real file system, failing its n-th call that changes something (0: none) and counting them. Renames
// onto or from a path ending in one of `renameRefused` fail every time, as a file another program holds open.
class FailingFileSystem : public PosixFileSystem {
  public:
    int failAt = 0;
    int calls = 0;
    std::vector<std::string> renameRefused;

    bool copyFlushed(const std::string& from, const std::string& to, const std::string& modeOf,
                     std::string* error) override {
        return !fails() && PosixFileSystem::copyFlushed(from, to, modeOf, error);
    }
    bool linkFile(const std::string& existing, const std::string& secondName) override {
        return !fails() && PosixFileSystem::linkFile(existing, secondName);
    }
    bool renameFile(const std::string& from, const std::string& to, std::string* error) override;
    bool syncFolder(const std::string& folder, std::string* error) override {
        return !fails() && PosixFileSystem::syncFolder(folder, error);
    }
    bool writeFileAtomic(const std::string& path, const std::string& content) override {
        return !fails() && PosixFileSystem::writeFileAtomic(path, content);
    }
    bool deleteFile(const std::string& path) override {
        return !fails() && PosixFileSystem::deleteFile(path);
    }

  private:
    bool fails() { return ++calls == failAt; }
};

// Writes plain level records ("TRUE,111111,B"), sealed, into a settings file.
void writeLevels(FileSystem& fs, const std::string& path, const std::map<int, std::string>& records);

// The apartment number of O'Neill, whom the run's change moves to C001.
std::string wnrOfONeill(Database& db);
std::string wnrOfONeill(const std::string& databasePath);

// The sample installation (with a FLAG.TXT) started at level 5 on `fs`, the originals' content kept.
struct SampleRun {
    explicit SampleRun(FileSystem& fs);
    // The run's changes: station PNL00 renamed, O'Neill moved to C001, its log line; the copies' content
    // kept.
    void change();
    bool bothOld() const;
    bool bothNew() const;
    // Files a commit may leave only while it runs.
    std::vector<std::string> leftovers() const;
    void expectWholeDatabase() const;

    Installation inst;
    Program program;
    int binds = 0;
    std::string databaseBefore, settingsBefore, databaseCopy, settingsCopy;
};

}  // namespace pnl::test
