// A run's start, its exit question and the commit of the working copies at "Ja" (faults, kills, backups).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>

#include "app/backups.h"
#include "app/backups_window.h"
#include "app/commit.h"
#include "app/commit_record.h"
#include "app/resident_table.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "app_fixture.h"
#include "forms/backups_window.h"
#include "support/shell_command.h"

namespace pnl {
namespace {

using Strings = std::vector<std::string>;
constexpr auto npos = std::string::npos;
const std::string kQuestion = "Sollen alle getätigten Änderungen übernommen werden?";

// The sample installation at level 3, its start-up's steps recorded.
struct StartScene {
    StartScene() {
        std::string error;
        EXPECT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
        inst.program->userLevel = 3;
        seams.prepareInterfaceEditor = [this] { calls.push_back("interface editor"); };
        seams.openMainWindow = [this] { calls.push_back("main window"); };
    }
    StartResult start() { return StartUp(*inst.program, seams); }

    test::Installation inst;
    StartUpSeams seams;
    Strings calls;
};

TEST(StartUp, LevelThreeMakesBothWorkingCopiesAndAddsTheStationColumnToTheCopyOnly) {
    StartScene scene;
    test::Installation& inst = scene.inst;
    const std::string databaseBefore = inst.readFile("QBXDATA.MDB");
    const std::string settingsBefore = inst.readFile("ANLAGE99.INI");
    inst.writeFile("QBXDATA_COPY.MDB-journal", "left by a crashed run");

    ASSERT_EQ(scene.start(), StartResult::Running);
    EXPECT_TRUE(inst.dialogs.shown.empty());
    EXPECT_EQ(scene.calls, (Strings{"interface editor", "main window"}));
    EXPECT_TRUE(inst.program->residents && inst.program->residents->bound());
    EXPECT_EQ(inst.logTexts(), Strings{"Setup gestartet - Userlevel 3"});
    EXPECT_EQ(inst.readFile("ANLAGE99_COPY.INI"), settingsBefore);
    EXPECT_EQ(inst.program->settings.fileName(), inst.path("ANLAGE99_COPY.INI"));
    EXPECT_TRUE(std::filesystem::is_directory(inst.path("infos")));
    EXPECT_FALSE(inst.exists("QBXDATA_COPY.MDB-journal"));

    // The copy has the 17th column, the original is byte for byte as before.
    ASSERT_TRUE(inst.program->database);
    const auto columns = inst.program->database->columns("BEWOHNER");
    ASSERT_EQ(columns.size(), 17u);
    EXPECT_EQ(columns.back(), "PNL");
    EXPECT_EQ(inst.program->database->query("SELECT count(*) FROM BEWOHNER")->at(0).at(0),
              DbValue(std::int64_t{41}));
    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), databaseBefore);
    EXPECT_EQ(inst.readFile("ANLAGE99.INI"), settingsBefore);

    // The next run leaves a table of 17 columns alone, and a log folder that cannot be made is no obstacle.
    inst.program->database.reset();
    std::filesystem::remove_all(inst.path("log"));
    inst.writeFile("log", "a file where the log folder should be");
    ASSERT_EQ(scene.start(), StartResult::Running);
    EXPECT_TRUE(inst.dialogs.shown.empty());
    EXPECT_EQ(inst.program->database->columns("BEWOHNER").size(), 17u);
    EXPECT_EQ(inst.readFile("log"), "a file where the log folder should be");
}

// Runs `statements` on the original database.
void execOnOriginal(StartScene& scene, std::initializer_list<const char*> statements) {
    auto db = Database::open(scene.inst.path("QBXDATA.MDB"));
    for (const char* statement : statements)
        ASSERT_TRUE(db->exec(statement)) << statement;
}

// Starts the sample spoilt by `spoil`: one box says `text` ("@": the folder), the original stays, nothing is
// open, and only the first `made` of the working copies and "infos" exist.
void expectFailedStart(const std::function<void(StartScene&)>& spoil, std::string text, std::size_t made) {
    SCOPED_TRACE(text);
    StartScene scene;
    test::Installation& inst = scene.inst;
    spoil(scene);
    const std::string databaseBefore = inst.readFile("QBXDATA.MDB");
    EXPECT_EQ(scene.start(), StartResult::Ended);
    for (auto at = text.find('@'); at != std::string::npos; at = text.find('@'))
        text.replace(at, 1, inst.folder.path());
    ASSERT_EQ(inst.dialogs.shown.size(), 1u);
    const Message& box = inst.dialogs.last();
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.icon, MsgIcon::Critical);
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_FALSE(inst.program->database);
    EXPECT_FALSE(inst.program->residents);
    EXPECT_EQ(scene.calls, Strings{"interface editor"});
    EXPECT_EQ(inst.logTexts(), Strings{"Setup gestartet - Userlevel 3"});  // logged before the checks
    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), databaseBefore);
    const Strings made3{"QBXDATA_COPY.MDB", "ANLAGE99_COPY.INI", "infos"};
    for (std::size_t i = 0; i < made3.size(); ++i)
        EXPECT_EQ(inst.exists(made3[i]), i < made) << made3[i];
}

// The engine's or the system's cause reaches the user in the program's own German words, never in English.
TEST(StartUp, EachFailureEndsTheStartWithItsGermanMessage) {
    const std::string cannotOpen = "Datenbank @/QBXDATA_COPY.MDB kann nicht geöffnet werden!\n";
    expectFailedStart([](StartScene& s) { std::filesystem::remove(s.inst.path("QBXDATA.MDB")); },
                      "Datenbank QBXDATA.MDB nicht gefunden!", 0);
    expectFailedStart([](StartScene& s) { std::filesystem::remove(s.inst.path("ANLAGE99.INI")); },
                      "ANLAGE99.INI nicht gefunden!", 1);
    expectFailedStart([](StartScene& s) { s.inst.writeFile("QBXDATA.MDB", "Standard Jet DB, nur Text."); },
                      cannotOpen + "@/QBXDATA_COPY.MDB: Die Datei ist keine Datenbank oder beschädigt.", 3);
    expectFailedStart([](StartScene& s) { execOnOriginal(s, {"ALTER TABLE BEWOHNER RENAME TO LEUTE"}); },
                      cannotOpen + "Die Tabelle BEWOHNER fehlt.", 3);
    // A table without the apartment number cannot be sorted for the resident view.
    expectFailedStart([](StartScene& s) { execOnOriginal(s, {"ALTER TABLE BEWOHNER DROP COLUMN Wnr"}); },
                      "Datenbank QBXDATA.MDB defekt!\nDie Tabelle hat nicht den erwarteten Aufbau.", 3);
    // A table without row numbers reads and sorts, but the resident cursor cannot stand on its rows.
    expectFailedStart(
        [](StartScene& s) {
            execOnOriginal(
                s, {"DROP TABLE BEWOHNER",
                    "CREATE TABLE BEWOHNER (ID INTEGER PRIMARY KEY, Name TEXT, Vorname TEXT, Wnr TEXT, "
                    "sernr INTEGER, AUSLOESUNG TEXT, code INTEGER, PNL TEXT) WITHOUT ROWID"});
        },
        "Datenbank QBXDATA.MDB defekt!", 3);
    // The original's schema page is damaged: a database that cannot be opened, not a failed copy.
    expectFailedStart(
        [](StartScene& s) {
            std::string damaged = s.inst.readFile("QBXDATA.MDB");
            damaged.replace(100, 100, std::string(100, '\xFF'));
            s.inst.writeFile("QBXDATA.MDB", damaged);
        },
        cannotOpen + "@/QBXDATA.MDB: Die Datei ist beschädigt.", 0);
    // Another program ended while writing: its journal lies beside the original, which is only read.
    expectFailedStart(
        [](StartScene& s) {
            s.inst.writeFile("OTHER.MDB", s.inst.readFile("QBXDATA.MDB"));
            auto other = Database::open(s.inst.path("OTHER.MDB"));
            ASSERT_TRUE(other->exec("PRAGMA cache_size=1") && other->exec("BEGIN") &&
                        other->exec("UPDATE BEWOHNER SET Bemerkung = hex(randomblob(2000))"));
            s.inst.writeFile("QBXDATA.MDB", s.inst.readFile("OTHER.MDB"));
            s.inst.writeFile("QBXDATA.MDB-journal", s.inst.readFile("OTHER.MDB-journal"));
        },
        cannotOpen +
            "@/QBXDATA.MDB: Ein anderes Programm wurde beendet, während es in die Datenbank schrieb; sein "
            "Journal "
            "(Datei mit der Endung „-journal“) liegt noch neben ihr. Öffnen und schließen Sie die Datenbank "
            "einmal mit "
            "jenem Programm, damit der unterbrochene Schreibvorgang zurückgenommen wird, und starten Sie "
            "dann erneut.",
        0);
    expectFailedStart(
        [](StartScene& s) { std::filesystem::create_directories(s.inst.path("QBXDATA_COPY.MDB/belegt")); },
        "Die Arbeitskopie QBXDATA_COPY.MDB kann nicht angelegt werden!\n@/QBXDATA_COPY.MDB: An dieser Stelle "
        "liegt ein Ordner statt einer Datei.",
        1);
}

// "Ja" keeps the changes, "Nein" discards them, "Abbrechen" goes on; the question names stations sent to.
TEST(Shutdown, TheExitQuestionKeepsDiscardsOrGoesOn) {
    const std::string warning =
        "\n\rAchtung: Diese PNL haben in diesem Lauf Bewohnerdaten erhalten: Haupteingang Nord (PNL00), "
        "Tiefgarage (PNL02).\n\rBei \"Nein\" behalten diese PNL Daten, die die Datenbank nicht behält.";
    for (const MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel}) {
        const bool goesOn = answer == MsgAnswer::Cancel;  // this run has also sent residents to two stations
        SCOPED_TRACE(static_cast<int>(answer));
        PosixFileSystem fs;
        test::SampleRun run(fs);
        run.change();
        if (answer == MsgAnswer::Yes)
            std::filesystem::remove(run.inst.path("FLAG.TXT"));  // no marker file: no error either
        if (goesOn)
            run.program.stationsSent = {0, 2};
        run.inst.dialogs.answer(answer);
        EXPECT_EQ(ShutDown(run.program), goesOn);
        ASSERT_EQ(run.inst.dialogs.shown.size(), 1u);
        const Message& box = run.inst.dialogs.last();
        EXPECT_EQ(box.text, goesOn ? kQuestion + warning : kQuestion);
        EXPECT_EQ(box.title, "Änderungen speichern");
        EXPECT_EQ(box.buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(box.icon, MsgIcon::None);
        EXPECT_TRUE(answer == MsgAnswer::Yes ? run.bothNew() : run.bothOld());
        EXPECT_EQ(run.inst.readFile("ANLAGE99_COPY.INI"), run.settingsCopy);
        EXPECT_EQ(run.inst.exists("FLAG.TXT"), goesOn);
        EXPECT_EQ(static_cast<bool>(run.program.database), goesOn);
        Strings log{"Setup gestartet - Userlevel 5", "Bewohnerdatensatz: C001 wurde geaendert."};
        if (answer == MsgAnswer::Yes)
            log.push_back("Einstellungen gesichert");
        if (!goesOn)
            log.push_back("Setupprogramm beendet");
        EXPECT_EQ(run.inst.logTexts(), log);
    }
}

// A refused "Ja" touches nothing and the run goes on; a log left by a crashed program is no obstacle.
TEST(Shutdown, JaWaitsForAWritableOriginalAndAnotherProgramAndCheckpointsALogLeftByACrash) {
    PosixFileSystem fs;
    test::SampleRun run(fs);
    run.change();
    auto expectRefused = [&run](const std::string& why) {
        run.inst.dialogs.answer(MsgAnswer::Yes);
        EXPECT_TRUE(ShutDown(run.program));
        const Message& box = run.inst.dialogs.last();
        EXPECT_EQ(box.icon, MsgIcon::Exclamation);
        EXPECT_NE(box.text.find("NICHT übernommen"), npos);
        EXPECT_NE(box.text.find(why), npos) << box.text;
        EXPECT_TRUE(run.bothOld());
        EXPECT_TRUE(run.leftovers().empty());
        EXPECT_TRUE(run.inst.exists("FLAG.TXT"));
        EXPECT_TRUE(run.inst.exists("ANLAGE99_COPY.INI"));
        ASSERT_TRUE(run.program.database);
        EXPECT_EQ(test::apartmentOfONeill(*run.program.database), "C001");
        EXPECT_EQ(run.inst.logTexts().back(), "Bewohnerdatensatz: C001 wurde geaendert.");
    };
    ::chmod(run.inst.path("ANLAGE99.INI").c_str(), 0444);
    expectRefused(run.inst.path("ANLAGE99.INI") + " ist schreibgeschützt");
    EXPECT_TRUE(run.program.residents && run.program.residents->bound());  // the run goes on with its table
    ::chmod(run.inst.path("ANLAGE99.INI").c_str(), 0644);

    auto other = Database::open(run.inst.path("QBXDATA.MDB"));
    ASSERT_TRUE(other->exec("PRAGMA journal_mode=WAL"));
    const std::string database = run.inst.readFile("QBXDATA.MDB");
    ASSERT_TRUE(other->exec("UPDATE BEWOHNER SET Name = 'STALE'"));
    const std::string log = run.inst.readFile("QBXDATA.MDB-wal");
    ASSERT_FALSE(log.empty());
    ASSERT_TRUE(other->exec("PRAGMA wal_checkpoint(TRUNCATE)"));
    run.databaseBefore = run.inst.readFile("QBXDATA.MDB");
    expectRefused("von einem anderen Programm benutzt");

    // What the other program leaves when it crashes: the file and its log, nobody holding them.
    other.reset();
    run.inst.writeFile("QBXDATA.MDB", database);
    run.inst.writeFile("QBXDATA.MDB-wal", log);
    run.inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_FALSE(ShutDown(run.program));
    EXPECT_EQ(run.inst.dialogs.shown.size(), 5u);  // three questions, two refusals
    EXPECT_FALSE(run.inst.exists("FLAG.TXT"));     // the commit done, the marker goes
    EXPECT_TRUE(run.bothNew());  // the copy's bytes: O'Neill in C001, no row of the other program
    EXPECT_FALSE(run.inst.exists("QBXDATA.MDB-wal"));
    EXPECT_FALSE(run.inst.exists("QBXDATA.MDB-journal"));
    run.expectWholeDatabase();
}

// A run after its changes, its database copy closed as at "Ja".
struct Session : test::SampleRun {
    explicit Session(FileSystem& fs) : SampleRun(fs) {
        change();
        program.residents.reset();
        program.database.reset();
    }
};

TEST(Commit, AnInjectedFailureAtAnyStepIsNeverReportedAsSaved) {
    for (int failAt = 1;; ++failAt) {
        SCOPED_TRACE("failing call " + std::to_string(failAt));
        test::FailingFileSystem fs;
        Session run(fs);
        fs.calls = 0;
        fs.failAt = failAt;
        const CommitResult result = CommitWorkingCopies(run.program);
        const bool notSaved = result.outcome == CommitOutcome::NotSaved;
        if (notSaved || result.outcome == CommitOutcome::Saved) {
            EXPECT_TRUE(notSaved ? run.bothOld() && result.icon == MsgIcon::Critical : run.bothNew());
            EXPECT_TRUE(run.leftovers().empty());
        } else {
            EXPECT_NE(result.message.find("Beim nächsten Start"), std::string::npos) << result.message;
        }
        if (fs.calls < failAt) {  // no call failed: the last run is the commit done in full
            EXPECT_EQ(result.outcome, CommitOutcome::Saved);
            EXPECT_GT(failAt, 10);
            break;
        }
        // The next start settles whatever is left, and the pair agrees with what the user was told.
        fs.failAt = 0;
        EXPECT_NE(FinishInterruptedCommit(run.program), RecoveryOutcome::Unresolved);
        EXPECT_TRUE(notSaved ? run.bothOld() : run.bothNew());
        EXPECT_TRUE(run.leftovers().empty());
        run.expectWholeDatabase();
    }
}

TEST(Commit, ADoubleFaultSaysWhichFileIsInWhichStateAndTheNextStartFinishes) {
    test::FailingFileSystem fs;
    Session run(fs);
    // The settings cannot be replaced, and the database cannot be put back.
    fs.renameRefused = {"/ANLAGE99.INI", "/QBXDATA.MDB.alt"};
    run.inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_FALSE(ShutDown(run.program));  // the program ends; the next start settles the pair
    const std::string text = run.inst.dialogs.last().text;
    EXPECT_EQ(text.find("unverändert"), std::string::npos) << text;
    EXPECT_NE(text.find("QBXDATA.MDB ist die neue Fassung, ANLAGE99.INI ist die alte Fassung"),
              std::string::npos)
        << text;
    EXPECT_TRUE(run.inst.exists(kCommitRecordFile));

    fs.renameRefused.clear();
    EXPECT_EQ(FinishInterruptedCommit(run.program), RecoveryOutcome::Finished);
    EXPECT_EQ(run.inst.dialogs.last().text,
              "Die letzte Sicherung wurde unterbrochen und beim Start abgeschlossen.");
    EXPECT_TRUE(run.bothNew());
    EXPECT_TRUE(run.leftovers().empty());
    EXPECT_EQ(BackupFolders(run.program).size(), 1u);
}

TEST(Commit, ASymlinkedOriginalIsReplacedAtItsTargetAndTheNewestTwentyPairsAreKept) {
    PosixFileSystem fs;
    Session run(fs);
    test::TempFolder shared;
    const std::string target = shared.path() + "/ANLAGE99.INI";
    std::filesystem::rename(run.inst.path("ANLAGE99.INI"), target);
    std::filesystem::create_symlink(target, run.inst.path("ANLAGE99.INI"));

    ASSERT_EQ(CommitWorkingCopies(run.program).outcome, CommitOutcome::Saved);
    EXPECT_TRUE(std::filesystem::is_symlink(run.inst.path("ANLAGE99.INI")));
    EXPECT_TRUE(run.bothNew());
    EXPECT_EQ(std::filesystem::directory_iterator(shared.path())->path().filename(), "ANLAGE99.INI");
    auto backups = BackupFolders(run.program);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(run.inst.readFile("backup/" + backups[0] + "/ANLAGE99.INI"), run.settingsBefore);
    EXPECT_EQ(run.inst.readFile("backup/" + backups[0] + "/QBXDATA.MDB"), run.databaseBefore);

    for (int i = 0; i < 22; ++i) {
        run.inst.loop.advance(60 * 1000);
        ASSERT_EQ(CommitWorkingCopies(run.program).outcome, CommitOutcome::Saved);
    }
    backups = BackupFolders(run.program);
    ASSERT_EQ(backups.size(), kBackupsKept);
    EXPECT_EQ(backups.front(), "2026-12-06_09-33-00");  // the three oldest went
    EXPECT_EQ(backups.back(), "2026-12-06_09-52-00");
    EXPECT_EQ(run.inst.readFile("backup/" + backups.back() + "/ANLAGE99.INI"),
              run.inst.readFile("ANLAGE99.INI"));
}

TEST(Commit, ARestoredBackupIsDiscardedByNeinAndCommittedByJa) {
    PosixFileSystem fs;
    Session run(fs);
    const std::string apartmentBefore =
        test::apartmentOfONeill(*Database::open(run.inst.path("QBXDATA.MDB")));
    ASSERT_EQ(CommitWorkingCopies(run.program).outcome, CommitOutcome::Saved);
    const std::string committedSettings = run.inst.readFile("ANLAGE99.INI");
    const std::string committedDatabase = run.inst.readFile("QBXDATA.MDB");

    // Restored through the window, as the user does it, into the working copies.
    ASSERT_EQ(StartUp(run.program, {}), StartResult::Running);
    BackupsWindowForm form;
    BackupsWindowController window(run.program, form);
    int restored = 0;
    window.restored = [&] { ++restored; };
    form.setVisible(true);
    window.load();
    EXPECT_EQ(form.backupList.lines(), std::vector<std::string>{"06.12.2026 09:30:00|41|3"});
    EXPECT_FALSE(form.restore.enabled());
    form.backupList.setListIndex(0);
    window.backupChosen();
    EXPECT_TRUE(form.restore.enabled());
    run.inst.dialogs.answer(MsgAnswer::Yes);
    window.restore();
    EXPECT_EQ(run.inst.dialogs.last().buttons, MsgButtons::YesNo);
    EXPECT_EQ(restored, 1);
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(run.inst.readFile("ANLAGE99_COPY.INI"), run.settingsBefore);
    ASSERT_TRUE(run.program.database);
    EXPECT_EQ(test::apartmentOfONeill(*run.program.database), apartmentBefore);
    EXPECT_EQ(run.program.database->columns("BEWOHNER").size(), 17u);
    run.inst.dialogs.answer(MsgAnswer::No);
    EXPECT_FALSE(ShutDown(run.program));
    EXPECT_EQ(run.inst.readFile("ANLAGE99.INI"), committedSettings);
    EXPECT_EQ(run.inst.readFile("QBXDATA.MDB"), committedDatabase);

    ASSERT_EQ(StartUp(run.program, {}), StartResult::Running);
    ASSERT_TRUE(RestoreBackup(run.program, ListBackups(run.program).back().folder));
    run.inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_FALSE(ShutDown(run.program));
    EXPECT_EQ(run.inst.readFile("ANLAGE99.INI"), run.settingsBefore);
    EXPECT_EQ(test::apartmentOfONeill(*Database::open(run.inst.path("QBXDATA.MDB"))), apartmentBefore);
    const auto log = run.inst.logTexts();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Sicherung vom 06.12.2026 09:30:00 wiederhergestellt"), 2);
}

// The command replaces the shell, so that a kill ends it with no exit status (-1).
test::CommandRun runChild(const std::string& command) {
    return test::runShellCommand("exec " + command + " 2>&1");
}

// Killed after each step, the next start leaves a whole pair, both old or both new, and says what it did.
TEST(Commit, KilledAfterEachStepTheNextStartLeavesAWholePair) {
    const std::string tool = std::string(PNL_BINARY_DIR) + "/pnl-commit-and-die ";
    std::vector<std::string> steps;
    {
        PosixFileSystem fs;
        Session run(fs);
        const test::CommandRun full = runChild(tool + run.inst.folder.path() + " 0");
        ASSERT_EQ(full.status, 0) << full.output;
        std::istringstream lines(full.output);
        for (std::string line; std::getline(lines, line) && !line.empty();)  // steps, then the empty message
            steps.push_back(line);
        EXPECT_TRUE(run.bothNew());
    }
    ASSERT_GE(steps.size(), 7u);
    const auto record = std::find(steps.begin(), steps.end(), "Datensatz") - steps.begin();
    for (std::size_t k = 1; k < steps.size(); ++k) {
        SCOPED_TRACE("killed after " + steps[k - 1]);
        PosixFileSystem fs;
        Session run(fs);
        const test::CommandRun killed = runChild(tool + run.inst.folder.path() + " " + std::to_string(k));
        ASSERT_EQ(killed.status, -1) << killed.output;
        run.inst.writeFile("QBXDATA_COPY.MDB.tmp-4242-17", "from a write a crash cut short");
        const bool recorded = static_cast<std::ptrdiff_t>(k) > record;
        if (steps[k - 1] == "ersetzt QBXDATA.MDB") {
            // The real program's headless start settles it too, before it works on the files.
            const test::CommandRun start =
                runChild(std::string(PNL_BINARY_DIR) + "/pnl-setup --folder " + run.inst.folder.path() +
                         " --port COM1=/nonexistent --transfer 0 5");
            EXPECT_NE(
                start.output.find("Die letzte Sicherung wurde unterbrochen und beim Start abgeschlossen."),
                std::string::npos)
                << start.output;
        } else {
            const RecoveryOutcome outcome = FinishInterruptedCommit(run.program);
            EXPECT_EQ(outcome, recorded ? RecoveryOutcome::Finished : RecoveryOutcome::Undone);
            ASSERT_FALSE(run.inst.dialogs.shown.empty());
            EXPECT_EQ(run.inst.dialogs.last().icon, MsgIcon::Information);
        }
        EXPECT_TRUE(recorded ? run.bothNew() : run.bothOld());
        EXPECT_TRUE(run.leftovers().empty());
        run.expectWholeDatabase();
    }
}

}  // namespace
}  // namespace pnl
