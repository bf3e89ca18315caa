#include "app/shutdown.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/startup.h"
#include "app_fixture.h"

namespace pnl {
namespace {

using Strings = std::vector<std::string>;
constexpr auto npos = std::string::npos;
const std::string kQuestion = "Sollen alle getätigten Änderungen übernommen werden?";

// "Ja" keeps the run's changes, "Nein" discards them, "Abbrechen" goes on with the run as it was; the working
// copies stay until the next start.
TEST(Shutdown, TheExitQuestionKeepsDiscardsOrGoesOn) {
    struct Case {
        MsgAnswer answer;
        bool goesOn;
        Strings logAfterChange;
    };
    for (const Case& c :
         std::vector<Case>{{MsgAnswer::Yes, false, {"Einstellungen gesichert", "Setupprogramm beendet"}},
                           {MsgAnswer::No, false, {"Setupprogramm beendet"}},
                           {MsgAnswer::Cancel, true, {}}}) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        PosixFileSystem fs;
        test::SampleRun run(fs);
        run.change();
        if (c.answer == MsgAnswer::Yes)
            std::filesystem::remove(run.inst.path("FLAG.TXT"));  // no marker file: no error either
        run.inst.dialogs.answer(c.answer);
        EXPECT_EQ(ShutDown(run.program), c.goesOn);
        ASSERT_EQ(run.inst.dialogs.shown.size(), 1u);
        const Message& box = run.inst.dialogs.last();
        EXPECT_EQ(box.text, kQuestion);
        EXPECT_EQ(box.title, "Änderungen speichern");
        EXPECT_EQ(box.buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(box.icon, MsgIcon::None);
        EXPECT_TRUE(c.answer == MsgAnswer::Yes ? run.bothNew() : run.bothOld());
        EXPECT_EQ(run.inst.readFile("ANLAGE99_COPY.INI"), run.settingsCopy);
        EXPECT_EQ(run.inst.exists("FLAG.TXT"), c.goesOn);
        EXPECT_EQ(static_cast<bool>(run.program.DataBewo), c.goesOn);
        Strings log{"Setup gestartet - Userlevel 5", "Bewohnerdatensatz: C001 wurde geaendert."};
        log.insert(log.end(), c.logAfterChange.begin(), c.logAfterChange.end());
        EXPECT_EQ(run.inst.logTexts(), log);
    }
}

TEST(Shutdown, TheQuestionNamesTheStationsThatReceivedResidentsInThisRun) {
    PosixFileSystem fs;
    test::SampleRun run(fs);
    run.program.stationsSent = {0, 2};
    run.inst.dialogs.answer(MsgAnswer::Cancel);
    EXPECT_TRUE(ShutDown(run.program));
    EXPECT_EQ(
        run.inst.dialogs.last().text,
        kQuestion +
            "\n\rAchtung: Diese PNL haben in diesem Lauf Bewohnerdaten erhalten: Haupteingang (PNL00), "
            "Tiefgarage (PNL02).\n\rBei \"Nein\" behalten diese PNL Daten, die die Datenbank nicht behält.");
}

// The run's change is in the file, no log or journal is left beside it, and it opens as a whole database.
void expectCommittedCleanly(const test::SampleRun& run) {
    EXPECT_TRUE(run.bothNew());
    EXPECT_FALSE(run.inst.exists("QBXDATA.MDB-wal"));
    EXPECT_FALSE(run.inst.exists("QBXDATA.MDB-journal"));
    run.expectWholeDatabase();
    auto db = Database::open(run.inst.path("QBXDATA.MDB"));
    EXPECT_EQ(test::wnrOfONeill(*db), "C001");
    EXPECT_EQ(dbText(db->query("SELECT count(*) FROM BEWOHNER WHERE Name = 'STALE'")->at(0).at(0)), "0");
}

TEST(Shutdown, JaWaitsWhileAnotherProgramHasTheDatabaseOpen) {
    PosixFileSystem fs;
    test::SampleRun run(fs);
    run.change();
    auto other = Database::open(run.inst.path("QBXDATA.MDB"));
    ASSERT_TRUE(other->exec("PRAGMA journal_mode=WAL"));
    ASSERT_TRUE(other->exec("UPDATE BEWOHNER SET Name = 'STALE' WHERE Name = 'O''Neill'"));
    ASSERT_TRUE(other->exec("PRAGMA wal_checkpoint(TRUNCATE)"));
    run.databaseBefore = run.inst.readFile("QBXDATA.MDB");
    run.inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_TRUE(ShutDown(run.program));  // refused: the run goes on with its working copy open again
    ASSERT_EQ(run.inst.dialogs.shown.size(), 2u);
    const Message& box = run.inst.dialogs.last();
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_NE(box.text.find("NICHT übernommen"), npos);
    EXPECT_NE(box.text.find("von einem anderen Programm benutzt"), npos) << box.text;
    EXPECT_TRUE(run.bothOld());
    EXPECT_TRUE(run.inst.exists("FLAG.TXT"));
    EXPECT_EQ(test::wnrOfONeill(*run.program.DataBewo), "C001");

    other.reset();
    run.inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_FALSE(ShutDown(run.program));
    EXPECT_FALSE(run.inst.exists("FLAG.TXT"));  // the commit done, the marker goes
    expectCommittedCleanly(run);
}

TEST(Shutdown, JaCheckpointsALogLeftByACrashedProgram) {
    PosixFileSystem fs;
    test::SampleRun run(fs);
    run.change();
    std::string database, log;
    {
        auto other = Database::open(run.inst.path("QBXDATA.MDB"));
        ASSERT_TRUE(other->exec("PRAGMA journal_mode=WAL"));
        database = run.inst.readFile("QBXDATA.MDB");
        ASSERT_TRUE(other->exec("UPDATE BEWOHNER SET Name = 'STALE'"));
        log = run.inst.readFile("QBXDATA.MDB-wal");
    }
    // What the other program left when it crashed: the file and its log, nobody holding them.
    run.inst.writeFile("QBXDATA.MDB", database);
    run.inst.writeFile("QBXDATA.MDB-wal", log);
    ASSERT_FALSE(log.empty());

    run.inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_FALSE(ShutDown(run.program));
    EXPECT_EQ(run.inst.dialogs.shown.size(), 1u);
    expectCommittedCleanly(run);
}

}  // namespace
}  // namespace pnl
