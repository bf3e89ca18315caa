#include <gtest/gtest.h>

#include <filesystem>

#include "app/event_log.h"
#include "app/log_reader.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"

namespace pnl {
namespace {

// The real file system; while `holding`, the rename onto ANLAGE99.INI fails (another program holds it open).
class SettingsHeldOpen : public PosixFileSystem {
  public:
    bool holding = false;

  protected:
    bool replaceFile(const std::string& temp, const std::string& target) override {
        if (holding && target.ends_with("/ANLAGE99.INI"))
            return false;
        return PosixFileSystem::replaceFile(temp, target);
    }
};

struct ShutdownFixture : ::testing::Test {
    ShutdownFixture()
        : program(Platform{fs, inst.loop, inst.dialogs, inst.serial, inst.ports}, inst.folder.path()) {}

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
        inst.writeFile("FLAG.TXT", "");
        program.UserLevel = 5;
        StartUpSeams seams;
        seams.bindResidentTable = [this] {
            ++binds;
            return true;
        };
        ASSERT_EQ(StartUp(program, seams), StartResult::Running);
        databaseBefore = inst.readFile("QBXDATA.MDB");
        settingsBefore = inst.readFile("ANLAGE99.INI");
    }

    // A run's changes: a station renamed and a resident moved.
    void change() {
        ASSERT_TRUE(program.InitX.write("PNLXXX", "PNL00", "PNL-B,Haupteingang Nord,012345,,FALSE"));
        ASSERT_TRUE(program.DataBewo->exec("UPDATE BEWOHNER SET Wnr = ? WHERE Name = ?",
                                           {std::string("C001"), std::string("O'Neill")}));
        EventLog(program, "Bewohnerdatensatz: C001 wurde geaendert.");
    }

    std::vector<std::string> logLines() const {
        std::vector<std::string> lines;
        for (const auto& entry : readLog(inst.readFile("log/06122026.log")))
            lines.push_back(entry.text.value_or("!!").substr(10));  // without the time
        return lines;
    }

    test::Installation inst;
    SettingsHeldOpen fs;
    Program program;
    int binds = 0;
    std::string databaseBefore, settingsBefore;
};

TEST_F(ShutdownFixture, NeinLeavesBothOriginalsByteIdentical) {
    change();
    inst.dialogs.answer(MsgAnswer::No);
    EXPECT_FALSE(ShutDown(program));
    ASSERT_EQ(inst.dialogs.shown.size(), 1u);
    const Message& box = inst.dialogs.last();
    EXPECT_EQ(box.text, "Sollen alle getätigten Änderungen übernommen werden?");
    EXPECT_EQ(box.title, "Änderungen speichern");
    EXPECT_EQ(box.buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(box.icon, MsgIcon::None);

    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), databaseBefore);
    EXPECT_EQ(inst.readFile("ANLAGE99.INI"), settingsBefore);
    EXPECT_TRUE(inst.exists("ANLAGE99_COPY.INI"));  // the copies stay until the next start
    EXPECT_FALSE(inst.exists("FLAG.TXT"));
    EXPECT_EQ(logLines(), (std::vector<std::string>{"Setup gestartet - Userlevel 5",
                                                    "Bewohnerdatensatz: C001 wurde geaendert.",
                                                    "Setupprogramm beendet"}));
}

TEST_F(ShutdownFixture, JaCopiesBothBackAndLogsInOrder) {
    change();
    std::filesystem::remove(inst.path("FLAG.TXT"));  // no marker file: no error either
    inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_FALSE(ShutDown(program));
    EXPECT_EQ(inst.dialogs.shown.size(), 1u);
    EXPECT_FALSE(program.DataBewo);
    EXPECT_EQ(inst.readFile("ANLAGE99.INI"), inst.readFile("ANLAGE99_COPY.INI"));
    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), inst.readFile("QBXDATA_COPY.MDB"));
    auto db = Database::open(inst.path("QBXDATA.MDB"));
    EXPECT_EQ(db->columns("BEWOHNER").size(), 17u);
    EXPECT_EQ(dbText(db->query("SELECT Wnr FROM BEWOHNER WHERE Name = 'O''Neill'")->at(0).at(0)), "C001");
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "Einstellungen gesichert");
    EXPECT_EQ(lines[3], "Setupprogramm beendet");
}

TEST_F(ShutdownFixture, AbbrechenKeepsTheRunAsItWas) {
    change();
    const std::string logBefore = inst.readFile("log/06122026.log");
    const std::string copyBefore = inst.readFile("ANLAGE99_COPY.INI");
    inst.dialogs.answer(MsgAnswer::Cancel);
    EXPECT_TRUE(ShutDown(program));
    EXPECT_TRUE(program.DataBewo);
    EXPECT_EQ(inst.readFile("log/06122026.log"), logBefore);
    EXPECT_EQ(inst.readFile("ANLAGE99_COPY.INI"), copyBefore);
    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), databaseBefore);
    EXPECT_TRUE(inst.exists("FLAG.TXT"));
}

TEST_F(ShutdownFixture, SecondCopyFailingLeavesBothOriginalsAndSaysSo) {
    change();
    fs.holding = true;
    inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_TRUE(ShutDown(program));  // the program stays open
    ASSERT_EQ(inst.dialogs.shown.size(), 2u);
    EXPECT_NE(inst.dialogs.last().text.find("NICHT übernommen"), std::string::npos);
    EXPECT_NE(inst.dialogs.last().text.find("ANLAGE99.INI"), std::string::npos);
    EXPECT_EQ(inst.dialogs.last().icon, MsgIcon::Critical);
    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), databaseBefore);
    EXPECT_EQ(inst.readFile("ANLAGE99.INI"), settingsBefore);
    EXPECT_TRUE(inst.exists("FLAG.TXT"));
    EXPECT_EQ(logLines().back(), "Bewohnerdatensatz: C001 wurde geaendert.");

    // The run goes on with its working copy open again; "Nein" then ends it.
    ASSERT_TRUE(program.DataBewo);
    EXPECT_EQ(binds, 2);
    EXPECT_EQ(
        dbText(program.DataBewo->query("SELECT Wnr FROM BEWOHNER WHERE Name = 'O''Neill'")->at(0).at(0)),
        "C001");
    inst.dialogs.answer(MsgAnswer::No);
    EXPECT_FALSE(ShutDown(program));
    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), databaseBefore);
    EXPECT_EQ(logLines().back(), "Setupprogramm beendet");
    // Once the other program lets go, "Ja" goes through.
    fs.holding = false;
    ASSERT_EQ(StartUp(program, {}), StartResult::Running);
    change();
    inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_FALSE(ShutDown(program));
    EXPECT_EQ(inst.readFile("ANLAGE99.INI"), inst.readFile("ANLAGE99_COPY.INI"));
}

// The run's change is in the file, no log or journal is left beside it, and it opens as a whole database.
void expectCommittedCleanly(const test::Installation& inst) {
    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), inst.readFile("QBXDATA_COPY.MDB"));
    EXPECT_FALSE(inst.exists("QBXDATA.MDB-wal"));
    EXPECT_FALSE(inst.exists("QBXDATA.MDB-journal"));
    auto db = Database::open(inst.path("QBXDATA.MDB"));
    ASSERT_TRUE(db);
    EXPECT_EQ(dbText(db->query("PRAGMA integrity_check")->at(0).at(0)), "ok");
    EXPECT_EQ(dbText(db->query("SELECT Wnr FROM BEWOHNER WHERE Name = 'O''Neill'")->at(0).at(0)), "C001");
    EXPECT_EQ(dbText(db->query("SELECT count(*) FROM BEWOHNER WHERE Name = 'STALE'")->at(0).at(0)), "0");
}

TEST_F(ShutdownFixture, JaWaitsWhileAnotherProgramHasTheDatabaseOpen) {
    change();
    auto other = Database::open(inst.path("QBXDATA.MDB"));
    ASSERT_TRUE(other->exec("PRAGMA journal_mode=WAL"));
    ASSERT_TRUE(other->exec("UPDATE BEWOHNER SET Name = 'STALE' WHERE Name = 'O''Neill'"));
    ASSERT_TRUE(other->exec("PRAGMA wal_checkpoint(TRUNCATE)"));
    const std::string databaseHeld = inst.readFile("QBXDATA.MDB");

    inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_TRUE(ShutDown(program));
    ASSERT_EQ(inst.dialogs.shown.size(), 2u);
    EXPECT_EQ(inst.dialogs.last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(inst.dialogs.last().buttons, MsgButtons::Ok);
    EXPECT_NE(inst.dialogs.last().text.find("NICHT übernommen"), std::string::npos);
    EXPECT_NE(inst.dialogs.last().text.find("von einem anderen Programm benutzt"), std::string::npos);
    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), databaseHeld);
    EXPECT_EQ(inst.readFile("ANLAGE99.INI"), settingsBefore);
    EXPECT_TRUE(inst.exists("FLAG.TXT"));
    ASSERT_TRUE(program.DataBewo);

    other.reset();
    inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_FALSE(ShutDown(program));
    EXPECT_FALSE(inst.exists("FLAG.TXT"));  // the commit done, the marker goes
    EXPECT_EQ(inst.readFile("ANLAGE99.INI"), inst.readFile("ANLAGE99_COPY.INI"));
    expectCommittedCleanly(inst);
}

TEST_F(ShutdownFixture, JaCheckpointsALogLeftByACrashedProgram) {
    change();
    std::string database, log;
    {
        auto other = Database::open(inst.path("QBXDATA.MDB"));
        ASSERT_TRUE(other->exec("PRAGMA journal_mode=WAL"));
        database = inst.readFile("QBXDATA.MDB");
        ASSERT_TRUE(other->exec("UPDATE BEWOHNER SET Name = 'STALE'"));
        log = inst.readFile("QBXDATA.MDB-wal");
    }
    // What the other program left when it crashed: the file and its log, nobody holding them.
    inst.writeFile("QBXDATA.MDB", database);
    inst.writeFile("QBXDATA.MDB-wal", log);
    ASSERT_FALSE(log.empty());

    inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_FALSE(ShutDown(program));
    EXPECT_EQ(inst.dialogs.shown.size(), 1u);
    expectCommittedCleanly(inst);
}

}  // namespace
}  // namespace pnl
