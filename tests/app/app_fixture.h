#pragma once
// Shared scenes: a sample run at level 5, a file system failing on cue, sealed level records.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

// The real file system failing its n-th changing call (0: none), also in the folders it opens; renames to or
// from a name in `renameRefused` fail.
class FailingFileSystem : public PosixFileSystem {
  public:
    int failAt = 0;
    int calls = 0;
    std::vector<std::string> renameRefused;

    bool fails() { return ++calls == failAt; }
    bool refusesRename(const std::string& from, const std::string& to) const {
        for (const auto& name : renameRefused)
            if (from == name || to == name)
                return true;
        return false;
    }

    bool writeFileAtomic(const std::string& path, const std::string& content, std::string* error) override {
        return !fails() && PosixFileSystem::writeFileAtomic(path, content, error);
    }
    bool deleteFile(const std::string& path) override {
        return !fails() && PosixFileSystem::deleteFile(path);
    }
    std::unique_ptr<Folder> openFolder(const std::string& path, std::string* error) override;
};

class FailingFolder : public Folder {
  public:
    FailingFolder(std::unique_ptr<Folder> inner, FailingFileSystem& fs) : inner_(std::move(inner)), fs_(fs) {}

    const std::string& path() const override { return inner_->path(); }
    const std::string& resolvedPath() const override { return inner_->resolvedPath(); }
    int descriptor() const override { return inner_->descriptor(); }
    EntryKind kind(const std::string& name) const override { return inner_->kind(name); }
    std::vector<std::string> names() const override { return inner_->names(); }
    std::optional<std::string> read(const std::string& name) const override { return inner_->read(name); }
    std::optional<FileDigest> digest(const std::string& name) const override { return inner_->digest(name); }
    std::string replaceRefusal(const std::string& name) const override {
        return inner_->replaceRefusal(name);
    }
    std::unique_ptr<Folder> openFolder(const std::string& name, std::string* error) override {
        auto folder = inner_->openFolder(name, error);
        return folder ? std::make_unique<FailingFolder>(std::move(folder), fs_) : nullptr;
    }
    bool makeFolder(const std::string& name, std::string* error) override {
        return !fs_.fails() && inner_->makeFolder(name, error);
    }
    bool removeFolder(const std::string& name) override { return !fs_.fails() && inner_->removeFolder(name); }
    bool remove(const std::string& name) override { return !fs_.fails() && inner_->remove(name); }
    bool rename(const std::string& name, Folder& into, const std::string& newName,
                std::string* error) override {
        return !fs_.refusesRename(name, newName) && !fs_.fails() &&
               inner_->rename(name, into, newName, error);
    }
    bool link(const std::string& name, Folder& into, const std::string& newName) override {
        return !fs_.fails() && inner_->link(name, into, newName);
    }
    bool copy(const std::string& name, Folder& into, const std::string& newName, const std::string& modeOf,
              std::string* error) override {
        return !fs_.fails() && inner_->copy(name, into, newName, modeOf, error);
    }
    bool writeAtomic(const std::string& name, const std::string& content, std::string* error) override {
        return !fs_.fails() && inner_->writeAtomic(name, content, error);
    }
    bool sync(std::string* error) override { return !fs_.fails() && inner_->sync(error); }

  private:
    std::unique_ptr<Folder> inner_;
    FailingFileSystem& fs_;
};

inline std::unique_ptr<Folder> FailingFileSystem::openFolder(const std::string& path, std::string* error) {
    auto folder = PosixFileSystem::openFolder(path, error);
    return folder ? std::make_unique<FailingFolder>(std::move(folder), *this) : nullptr;
}

// Every entry below `folder`: a file with its bytes, a link with where it leads (never followed), a folder.
inline std::map<std::string, std::string> filesBelow(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        std::string& seen = files[entry.path().string()];
        if (entry.is_symlink()) {
            seen = "-> " + std::filesystem::read_symlink(entry.path()).string();
        } else if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            seen = std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return files;
}

// What a database file holds (schema and rows), whatever its pages; empty when it cannot be read.
inline std::string contentOf(const std::string& path) {
    return Database::contentDigest(path).value_or("");
}

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
inline std::string apartmentOfONeill(Database& db) {
    return dbText(db.query("SELECT Wnr FROM BEWOHNER WHERE Name = 'O''Neill'")->at(0).at(0));
}

// The sample installation (with a FLAG.TXT) started at level 5 on `fs`, the originals' content kept.
struct SampleRun {
    explicit SampleRun(FileSystem& fs)
        : program(Platform{fs, inst.loop, inst.dialogs, inst.serial, inst.ports}, inst.folder.path()) {
        std::string error;
        EXPECT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
        inst.writeFile("FLAG.TXT", "");
        program.userLevel = 5;
        StartUpSeams seams;
        EXPECT_EQ(StartUp(program, seams), StartResult::Running);
        databaseBefore = contentOf(inst.path("QBXDATA.MDB"));
        settingsBefore = inst.readFile("ANLAGE99.INI");
    }
    // The run's changes (PNL00 renamed, O'Neill moved to C001, a log line); the copies' content kept.
    void change() {
        EXPECT_TRUE(program.settings.write("PNLXXX", "PNL00", "PNL-B,Haupteingang Nord,012345,,FALSE"));
        EXPECT_TRUE(program.database()->exec("UPDATE BEWOHNER SET Wnr = 'C001' WHERE Name = 'O''Neill'"));
        EventLog(program, "Bewohnerdatensatz: C001 wurde geaendert.");
        databaseCopy = contentOf(inst.path("QBXDATA_COPY.MDB"));
        settingsCopy = inst.readFile("ANLAGE99_COPY.INI");
    }
    bool bothOld() const {
        return contentOf(inst.path("QBXDATA.MDB")) == databaseBefore &&
               inst.readFile("ANLAGE99.INI") == settingsBefore;
    }
    bool bothNew() const {
        return contentOf(inst.path("QBXDATA.MDB")) == databaseCopy &&
               inst.readFile("ANLAGE99.INI") == settingsCopy;
    }
    // Files a commit may leave only while it runs.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(inst.folder.path())) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".neu") || name.ends_with(".alt") || name.find(".tmp-") != std::string::npos ||
                name.ends_with("-journal") || name.ends_with("-wal") || name == kCommitRecordFile)
                found.push_back(name);
        }
        if (std::filesystem::is_directory(inst.path("backup")))
            for (const auto& entry : std::filesystem::directory_iterator(inst.path("backup")))
                if (entry.path().filename().string().ends_with(".unfertig"))
                    found.push_back("backup/" + entry.path().filename().string());
        return found;
    }
    void expectWholeDatabase() const {
        auto db = Database::open(inst.path("QBXDATA.MDB"));
        ASSERT_TRUE(db);
        EXPECT_EQ(dbText(db->query("PRAGMA integrity_check")->at(0).at(0)), "ok");
    }

    Installation inst;
    Program program;
    // The databases by their content (contentOf), the settings files by their bytes.
    std::string databaseBefore, settingsBefore, databaseCopy, settingsCopy;
};

// A run after its changes, its database copy closed as at "Ja".
struct Session : SampleRun {
    explicit Session(FileSystem& fs) : SampleRun(fs) {
        change();
        program.closeDatabase();
    }
    std::string path(const std::string& name) const { return inst.path(name); }
};

}  // namespace pnl::test
