#pragma once
// Shared scenes: a sample run at level 5, a file system failing on cue, sealed level records.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/commit_record.h"
#include "app/event_log.h"
#include "app/program.h"
#include "app/records.h"
#include "app/startup.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"

namespace pnl::test {

// The real file system failing its n-th changing call (0: none); renames touching `renameRefused` fail.
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
    bool renameFile(const std::string& from, const std::string& to, std::string* error) override {
        for (const auto& end : renameRefused)
            if (to.ends_with(end) || from.ends_with(end))
                return false;
        return !fails() && PosixFileSystem::renameFile(from, to, error);
    }
    bool syncFolder(const std::string& folder, std::string* error) override {
        return !fails() && PosixFileSystem::syncFolder(folder, error);
    }
    bool writeFileAtomic(const std::string& path, const std::string& content, std::string* error) override {
        return !fails() && PosixFileSystem::writeFileAtomic(path, content, error);
    }
    bool deleteFile(const std::string& path) override {
        return !fails() && PosixFileSystem::deleteFile(path);
    }

  private:
    bool fails() { return ++calls == failAt; }
};

// Writes plain level records ("TRUE,111111,B"), sealed, into a settings file.
inline void writeLevels(FileSystem& fs, const std::string& path, const std::map<int, std::string>& records) {
    SettingsFile settings(fs);
    settings.setFileName(path);
    for (const auto& [level, plain] : records) {
        selectLevelRecord(settings, level);
        ASSERT_TRUE(writeEncrypted(settings, plain));
    }
}

// The apartment number of O'Neill, whom the run's change moves to C001.
inline std::string wnrOfONeill(Database& db) {
    return dbText(db.query("SELECT Wnr FROM BEWOHNER WHERE Name = 'O''Neill'")->at(0).at(0));
}

// The sample installation (with a FLAG.TXT) started at level 5 on `fs`, the originals' content kept.
struct SampleRun {
    explicit SampleRun(FileSystem& fs)
        : program(Platform{fs, inst.loop, inst.dialogs, inst.serial, inst.ports}, inst.folder.path()) {
        std::string error;
        EXPECT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
        inst.writeFile("FLAG.TXT", "");
        program.UserLevel = 5;
        StartUpSeams seams;
        seams.bindResidentTable = [this] {
            ++binds;
            return true;
        };
        EXPECT_EQ(StartUp(program, seams), StartResult::Running);
        databaseBefore = inst.readFile("QBXDATA.MDB");
        settingsBefore = inst.readFile("ANLAGE99.INI");
    }
    // The run's changes (PNL00 renamed, O'Neill moved to C001, a log line); the copies' content kept.
    void change() {
        EXPECT_TRUE(program.InitX.write("PNLXXX", "PNL00", "PNL-B,Haupteingang Nord,012345,,FALSE"));
        EXPECT_TRUE(program.DataBewo->exec("UPDATE BEWOHNER SET Wnr = 'C001' WHERE Name = 'O''Neill'"));
        EventLog(program, "Bewohnerdatensatz: C001 wurde geaendert.");
        databaseCopy = inst.readFile("QBXDATA_COPY.MDB");
        settingsCopy = inst.readFile("ANLAGE99_COPY.INI");
    }
    bool bothOld() const {
        return inst.readFile("QBXDATA.MDB") == databaseBefore &&
               inst.readFile("ANLAGE99.INI") == settingsBefore;
    }
    bool bothNew() const {
        return inst.readFile("QBXDATA.MDB") == databaseCopy && inst.readFile("ANLAGE99.INI") == settingsCopy;
    }
    // Files a commit may leave only while it runs.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(inst.folder.path())) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".neu") || name.ends_with(".alt") || name.find(".tmp-") != std::string::npos ||
                name == kCommitRecordFile)
                found.push_back(name);
        }
        return found;
    }
    void expectWholeDatabase() const {
        auto db = Database::open(inst.path("QBXDATA.MDB"));
        ASSERT_TRUE(db);
        EXPECT_EQ(dbText(db->query("PRAGMA integrity_check")->at(0).at(0)), "ok");
    }

    Installation inst;
    Program program;
    int binds = 0;
    std::string databaseBefore, settingsBefore, databaseCopy, settingsCopy;
};

}  // namespace pnl::test
