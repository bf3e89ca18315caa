#include "app_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/commit_record.h"
#include "app/event_log.h"
#include "app/records.h"
#include "app/startup.h"
#include "tools/sample/sample_installation.h"

namespace pnl::test {

bool FailingFileSystem::renameFile(const std::string& from, const std::string& to, std::string* error) {
    for (const auto& end : renameRefused)
        if (to.ends_with(end) || from.ends_with(end))
            return false;
    return !fails() && PosixFileSystem::renameFile(from, to, error);
}

void writeLevels(FileSystem& fs, const std::string& path, const std::map<int, std::string>& records) {
    SettingsFile settings(fs);
    settings.setFileName(path);
    for (const auto& [level, plain] : records) {
        selectLevelRecord(settings, level);
        ASSERT_TRUE(writeEncrypted(settings, plain));
    }
}

std::string wnrOfONeill(Database& db) {
    return dbText(db.query("SELECT Wnr FROM BEWOHNER WHERE Name = 'O''Neill'")->at(0).at(0));
}

std::string wnrOfONeill(const std::string& databasePath) {
    return wnrOfONeill(*Database::open(databasePath));
}

SampleRun::SampleRun(FileSystem& fs)
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

void SampleRun::change() {
    EXPECT_TRUE(program.InitX.write("PNLXXX", "PNL00", "PNL-B,Haupteingang Nord,012345,,FALSE"));
    EXPECT_TRUE(program.DataBewo->exec("UPDATE BEWOHNER SET Wnr = 'C001' WHERE Name = 'O''Neill'"));
    EventLog(program, "Bewohnerdatensatz: C001 wurde geaendert.");
    databaseCopy = inst.readFile("QBXDATA_COPY.MDB");
    settingsCopy = inst.readFile("ANLAGE99_COPY.INI");
}

bool SampleRun::bothOld() const {
    return inst.readFile("QBXDATA.MDB") == databaseBefore && inst.readFile("ANLAGE99.INI") == settingsBefore;
}

bool SampleRun::bothNew() const {
    return inst.readFile("QBXDATA.MDB") == databaseCopy && inst.readFile("ANLAGE99.INI") == settingsCopy;
}

std::vector<std::string> SampleRun::leftovers() const {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(inst.folder.path())) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(".neu") || name.ends_with(".alt") || name.find(".tmp-") != std::string::npos ||
            name == kCommitRecordFile)
            found.push_back(name);
    }
    return found;
}

void SampleRun::expectWholeDatabase() const {
    auto db = Database::open(inst.path("QBXDATA.MDB"));
    ASSERT_TRUE(db);
    EXPECT_EQ(dbText(db->query("PRAGMA integrity_check")->at(0).at(0)), "ok");
}

}  // namespace pnl::test
