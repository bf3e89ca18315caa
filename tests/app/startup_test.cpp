#include <gtest/gtest.h>

#include <filesystem>

#include "app/log_reader.h"
#include "app/startup.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"

namespace pnl {
namespace {

// The plain lines of today's log (the virtual clock starts on 6 December 2026).
std::vector<std::string> logLines(const test::Installation& inst) {
    std::vector<std::string> lines;
    for (const auto& entry : readLog(inst.readFile("log/06122026.log")))
        lines.push_back(entry.text.value_or("!!"));
    return lines;
}

struct StartFixture : ::testing::Test {
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
        inst.program->UserLevel = 3;
        seams.prepareInterfaceEditor = [this] { calls.push_back("interface editor"); };
        seams.bindResidentTable = [this] {
            calls.push_back("resident table");
            return bindSucceeds;
        };
        seams.openMainWindow = [this] { calls.push_back("main window"); };
    }

    StartResult start() { return StartUp(*inst.program, seams); }

    void expectFatal(const std::string& text) {
        ASSERT_EQ(inst.dialogs.shown.size(), 1u);
        EXPECT_EQ(inst.dialogs.last().text, text);
        EXPECT_EQ(inst.dialogs.last().title, "Error");
        EXPECT_EQ(inst.dialogs.last().icon, MsgIcon::Critical);
        EXPECT_EQ(inst.dialogs.last().buttons, MsgButtons::Ok);
        EXPECT_FALSE(inst.program->DataBewo);
        EXPECT_FALSE(inst.program->residents);
    }

    test::Installation inst;
    StartUpSeams seams;
    std::vector<std::string> calls;
    bool bindSucceeds = true;
};

TEST_F(StartFixture, LevelThreeMakesBothWorkingCopiesAndAddsTheStationColumnToTheCopyOnly) {
    const std::string databaseBefore = inst.readFile("QBXDATA.MDB");
    const std::string settingsBefore = inst.readFile("ANLAGE99.INI");
    inst.writeFile("QBXDATA_COPY.MDB-journal", "left by a crashed run");

    ASSERT_EQ(start(), StartResult::Running);
    EXPECT_TRUE(inst.dialogs.shown.empty());
    EXPECT_EQ(calls, (std::vector<std::string>{"interface editor", "resident table", "main window"}));
    EXPECT_EQ(logLines(inst), (std::vector<std::string>{"09:30:00  Setup gestartet - Userlevel 3"}));

    EXPECT_EQ(inst.readFile("ANLAGE99_COPY.INI"), settingsBefore);
    EXPECT_EQ(inst.program->InitX.fileName(), inst.path("ANLAGE99_COPY.INI"));
    EXPECT_TRUE(std::filesystem::is_directory(inst.path("infos")));
    EXPECT_FALSE(inst.exists("QBXDATA_COPY.MDB-journal"));

    // The copy has the 17th column, the original is byte for byte as before.
    ASSERT_TRUE(inst.program->DataBewo);
    const auto columns = inst.program->DataBewo->columns("BEWOHNER");
    ASSERT_EQ(columns.size(), 17u);
    EXPECT_EQ(columns.back(), "PNL");
    EXPECT_EQ(inst.program->DataBewo->query("SELECT count(*) FROM BEWOHNER")->at(0).at(0),
              DbValue(std::int64_t{41}));
    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), databaseBefore);
    EXPECT_EQ(inst.readFile("ANLAGE99.INI"), settingsBefore);
    EXPECT_EQ(Database::open(inst.path("QBXDATA.MDB"))->columns("BEWOHNER").size(), 16u);

    // A second start (the next run) leaves a table of 17 columns alone.
    inst.program->DataBewo.reset();
    ASSERT_EQ(start(), StartResult::Running);
    EXPECT_EQ(inst.program->DataBewo->columns("BEWOHNER").size(), 17u);
}

TEST_F(StartFixture, MissingFilesEndTheStartWithTheirMessages) {
    std::filesystem::remove(inst.path("QBXDATA.MDB"));
    EXPECT_EQ(start(), StartResult::Ended);
    expectFatal("Datenbank QBXDATA.MDB nicht gefunden!");
    EXPECT_EQ(logLines(inst).size(), 1u);  // the start is logged before the check
    EXPECT_FALSE(inst.exists("QBXDATA_COPY.MDB"));
    EXPECT_FALSE(inst.exists("ANLAGE99_COPY.INI"));
    EXPECT_EQ(calls, (std::vector<std::string>{"interface editor"}));
}

TEST_F(StartFixture, MissingSettingsFileEndsAfterTheDatabaseCopy) {
    std::filesystem::remove(inst.path("ANLAGE99.INI"));
    EXPECT_EQ(start(), StartResult::Ended);
    expectFatal("ANLAGE99.INI nicht gefunden!");
    EXPECT_TRUE(inst.exists("QBXDATA_COPY.MDB"));
    EXPECT_FALSE(inst.exists("ANLAGE99_COPY.INI"));
    EXPECT_FALSE(inst.exists("infos"));
}

TEST_F(StartFixture, FileThatIsNoDatabaseCannotBeOpened) {
    const std::string garbage =
        "Standard Jet DB, aber nicht wirklich: dies ist nur Text und keine Datenbank.";
    inst.writeFile("QBXDATA.MDB", garbage);
    EXPECT_EQ(start(), StartResult::Ended);
    expectFatal("Datenbank " + inst.folder.path() + "/QBXDATA_COPY.MDB kann nicht geöffnet werden!\n" +
                inst.folder.path() + "/QBXDATA_COPY.MDB: Die Datei ist keine Datenbank oder beschädigt.");
    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), garbage);
    EXPECT_EQ(calls, (std::vector<std::string>{"interface editor"}));
}

TEST_F(StartFixture, MissingResidentTableCannotBeOpenedAndUnsortableTableIsDefective) {
    {
        auto db = Database::open(inst.path("QBXDATA.MDB"));
        ASSERT_TRUE(db->exec("ALTER TABLE BEWOHNER RENAME TO LEUTE"));
    }
    const std::string before = inst.readFile("QBXDATA.MDB");
    EXPECT_EQ(start(), StartResult::Ended);
    expectFatal("Datenbank " + inst.folder.path() +
                "/QBXDATA_COPY.MDB kann nicht geöffnet werden!\nDie Tabelle BEWOHNER fehlt.");
    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), before);

    // A table without the apartment number cannot be sorted for the resident view.
    {
        auto db = Database::open(inst.path("QBXDATA.MDB"));
        ASSERT_TRUE(db->exec("CREATE TABLE BEWOHNER (ID INTEGER PRIMARY KEY, Name TEXT)"));
    }
    inst.dialogs.shown.clear();
    EXPECT_EQ(start(), StartResult::Ended);
    expectFatal("Datenbank QBXDATA.MDB defekt!\nDie Tabelle hat nicht den erwarteten Aufbau.");
}

// What the system or the database engine reports reaches the user as the program's own German message,
// never as the engine's English text.
TEST_F(StartFixture, FailuresOfTheCopyAreToldInGerman) {
    const std::string folder = inst.folder.path();
    const std::string cannotOpen = "Datenbank " + folder + "/QBXDATA_COPY.MDB kann nicht geöffnet werden!\n";
    const std::string sample = inst.readFile("QBXDATA.MDB");

    // The schema page of the original is damaged: a database that cannot be opened, not a failed copy.
    std::string damaged = sample;
    damaged.replace(100, 100, std::string(100, '\xFF'));
    inst.writeFile("QBXDATA.MDB", damaged);
    EXPECT_EQ(start(), StartResult::Ended);
    expectFatal(cannotOpen + folder + "/QBXDATA.MDB: Die Datei ist beschädigt.");

    // Another program ended while writing: its journal lies beside the original, which is only read.
    inst.writeFile("QBXDATA.MDB", sample);
    {
        inst.writeFile("OTHER.MDB", sample);
        auto other = Database::open(inst.path("OTHER.MDB"));
        ASSERT_TRUE(other->exec("PRAGMA cache_size=1"));
        ASSERT_TRUE(other->exec("BEGIN"));
        ASSERT_TRUE(other->exec("UPDATE BEWOHNER SET Bemerkung = hex(randomblob(2000))"));
        inst.writeFile("QBXDATA.MDB", inst.readFile("OTHER.MDB"));
        inst.writeFile("QBXDATA.MDB-journal", inst.readFile("OTHER.MDB-journal"));
    }
    const std::string interrupted = inst.readFile("QBXDATA.MDB");
    inst.dialogs.shown.clear();
    EXPECT_EQ(start(), StartResult::Ended);
    ASSERT_EQ(inst.dialogs.shown.size(), 1u);
    EXPECT_EQ(inst.dialogs.last().text.rfind(cannotOpen + folder +
                                                 "/QBXDATA.MDB: Ein anderes Programm wurde "
                                                 "beendet, während es in die Datenbank schrieb",
                                             0),
              0u)
        << inst.dialogs.last().text;
    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), interrupted);
    std::filesystem::remove(inst.path("QBXDATA.MDB-journal"));

    // The copy's place is taken by a folder: the copy cannot be made, said in German.
    inst.writeFile("QBXDATA.MDB", sample);
    std::filesystem::create_directories(inst.path("QBXDATA_COPY.MDB/belegt"));
    inst.dialogs.shown.clear();
    EXPECT_EQ(start(), StartResult::Ended);
    expectFatal("Die Arbeitskopie QBXDATA_COPY.MDB kann nicht angelegt werden!\n" + folder +
                "/QBXDATA_COPY.MDB: An dieser Stelle liegt ein Ordner statt einer Datei.");
}

TEST_F(StartFixture, ResidentTableThatCannotBeBoundIsDefective) {
    bindSucceeds = false;
    EXPECT_EQ(start(), StartResult::Ended);
    expectFatal("Datenbank QBXDATA.MDB defekt!");
    EXPECT_EQ(calls, (std::vector<std::string>{"interface editor", "resident table"}));
}

TEST_F(StartFixture, LogFolderThatCannotBeMadeIsNoObstacle) {
    inst.writeFile("log", "a file where the log folder should be");
    EXPECT_EQ(start(), StartResult::Running);
    EXPECT_TRUE(inst.dialogs.shown.empty());
    EXPECT_EQ(inst.readFile("log"), "a file where the log folder should be");
}

}  // namespace
}  // namespace pnl
