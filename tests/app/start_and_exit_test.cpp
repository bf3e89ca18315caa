// A run's start, its exit question and the commit of the working copies at "Ja" (faults, kills, backups).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
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
    EXPECT_TRUE(inst.program->residents() && inst.program->residents()->bound());
    EXPECT_EQ(inst.logTexts(), Strings{"Setup gestartet - Userlevel 3"});
    EXPECT_EQ(inst.readFile("ANLAGE99_COPY.INI"), settingsBefore);
    EXPECT_EQ(inst.program->settings.fileName(), inst.path("ANLAGE99_COPY.INI"));
    EXPECT_TRUE(std::filesystem::is_directory(inst.path("infos")));
    EXPECT_FALSE(inst.exists("QBXDATA_COPY.MDB-journal"));

    // The copy has the 17th column, the original is byte for byte as before.
    ASSERT_TRUE(inst.program->database());
    const auto columns = inst.program->database()->columns("BEWOHNER");
    ASSERT_EQ(columns.size(), 17u);
    EXPECT_EQ(columns.back(), "PNL");
    EXPECT_EQ(inst.program->database()->query("SELECT count(*) FROM BEWOHNER")->at(0).at(0),
              DbValue(std::int64_t{41}));
    EXPECT_EQ(inst.readFile("QBXDATA.MDB"), databaseBefore);
    EXPECT_EQ(inst.readFile("ANLAGE99.INI"), settingsBefore);

    // The next run leaves a table of 17 columns alone, and a log folder that cannot be made is no obstacle.
    inst.program->closeDatabase();
    std::filesystem::remove_all(inst.path("log"));
    inst.writeFile("log", "a file where the log folder should be");
    ASSERT_EQ(scene.start(), StartResult::Running);
    EXPECT_TRUE(inst.dialogs.shown.empty());
    EXPECT_EQ(inst.program->database()->columns("BEWOHNER").size(), 17u);
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
    EXPECT_FALSE(inst.program->database());
    EXPECT_FALSE(inst.program->residents());
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
        EXPECT_EQ(static_cast<bool>(run.program.database()), goesOn);
        Strings log{"Setup gestartet - Userlevel 5", "Bewohnerdatensatz: C001 wurde geaendert."};
        if (answer == MsgAnswer::Yes)
            log.push_back("Einstellungen gesichert");
        if (!goesOn)
            log.push_back("Setupprogramm beendet");
        EXPECT_EQ(run.inst.logTexts(), log);
    }
}

// A refused "Ja": the box says why, both files are old, and the run goes on with its changes.
void expectRefused(test::SampleRun& run, const std::string& why) {
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
    ASSERT_TRUE(run.program.database());
    EXPECT_EQ(test::apartmentOfONeill(*run.program.database()), "C001");
    EXPECT_EQ(run.inst.logTexts().back(), "Bewohnerdatensatz: C001 wurde geaendert.");
}

TEST(Shutdown, JaWaitsForAWritableOriginalAndPlaysALogLeftByACrashedProgram) {
    PosixFileSystem fs;
    test::SampleRun run(fs);
    run.change();
    ::chmod(run.inst.path("ANLAGE99.INI").c_str(), 0444);
    expectRefused(run, run.inst.path("ANLAGE99.INI") + " ist schreibgeschützt");
    EXPECT_TRUE(run.program.residents() &&
                run.program.residents()->bound());  // the run goes on with its table
    ::chmod(run.inst.path("ANLAGE99.INI").c_str(), 0644);

    // What the other program leaves when it crashes: the file and its log, nobody holding them.
    auto other = Database::open(run.inst.path("QBXDATA.MDB"));
    ASSERT_TRUE(other->exec("PRAGMA journal_mode=WAL"));
    const std::string database = run.inst.readFile("QBXDATA.MDB");
    ASSERT_TRUE(other->exec("UPDATE BEWOHNER SET Name = 'STALE'"));
    const std::string log = run.inst.readFile("QBXDATA.MDB-wal");
    ASSERT_FALSE(log.empty());
    other.reset();
    run.inst.writeFile("QBXDATA.MDB", database);
    run.inst.writeFile("QBXDATA.MDB-wal", log);
    run.inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_FALSE(ShutDown(run.program));
    EXPECT_EQ(run.inst.dialogs.shown.size(), 3u);  // two questions, one refusal
    EXPECT_FALSE(run.inst.exists("FLAG.TXT"));     // the commit done, the marker goes
    EXPECT_TRUE(run.bothNew());                    // O'Neill in C001, no row of the other program
    EXPECT_FALSE(run.inst.exists("QBXDATA.MDB-wal"));
    EXPECT_FALSE(run.inst.exists("QBXDATA.MDB-journal"));
    run.expectWholeDatabase();
}

// Another program on the same PC, a process of its own (pnl-hold-database) that keeps QBXDATA.MDB open
// through one connection while it lives.
class OtherProgram {
  public:
    explicit OtherProgram(const std::string& database) {
        int down[2], up[2];
        // Closed on exec, so that the tool sees the end of its input when this side closes.
        if (::pipe2(down, O_CLOEXEC) != 0 || ::pipe2(up, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(down[0], 0);
            ::dup2(up[1], 1);
            const std::string tool = std::string(PNL_BINARY_DIR) + "/pnl-hold-database";
            ::execl(tool.c_str(), tool.c_str(), database.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(down[0]);
        ::close(up[1]);
        toChild_ = down[1];
        fromChild_ = up[0];
    }
    ~OtherProgram() {
        ::close(toChild_);
        ::close(fromChild_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    // "read": O'Neill's apartment number; "hold"/"release": a read that keeps the database locked.
    std::string ask(const std::string& request) {
        const std::string line = request + "\n";
        if (::write(toChild_, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            return "?";
        std::string answer;
        for (char c; ::read(fromChild_, &c, 1) == 1 && c != '\n';)
            answer += c;
        return answer;
    }

  private:
    pid_t pid_ = -1;
    int toChild_ = -1, fromChild_ = -1;
};

// The database is written in place: the other program reads the new residents through the connection it kept
// open, and the file stays the same file. While it keeps the database locked, "Ja" waits, then refuses.
TEST(Shutdown, AProgramHoldingTheDatabaseReadsTheNewResidentsAndALockItKeepsRefusesJa) {
    PosixFileSystem fs;
    test::SampleRun run(fs);
    run.change();
    OtherProgram other(run.inst.path("QBXDATA.MDB"));
    const std::string before = other.ask("read");
    ASSERT_FALSE(before.empty());
    ASSERT_NE(before, "C001");
    ASSERT_EQ(other.ask("hold"), "ok");
    expectRefused(run, "QBXDATA.MDB wird gerade von einem anderen Programm benutzt:\n" +
                           run.inst.path("QBXDATA.MDB") +
                           ": Die Datenbank wird von einem anderen Programm benutzt.");
    EXPECT_EQ(other.ask("read"), before);
    ASSERT_EQ(other.ask("release"), "ok");

    struct stat file {};
    ::stat(run.inst.path("QBXDATA.MDB").c_str(), &file);
    run.inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_FALSE(ShutDown(run.program));
    EXPECT_TRUE(run.bothNew());
    EXPECT_EQ(other.ask("read"), "C001");
    struct stat after {};
    ::stat(run.inst.path("QBXDATA.MDB").c_str(), &after);
    EXPECT_EQ(after.st_ino, file.st_ino);
    EXPECT_TRUE(run.leftovers().empty());
}

TEST(Commit, AnInjectedFailureAtAnyStepIsNeverReportedAsSaved) {
    for (int failAt = 1;; ++failAt) {
        SCOPED_TRACE("failing call " + std::to_string(failAt));
        test::FailingFileSystem fs;
        test::Session run(fs);
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
    test::Session run(fs);
    // The settings file cannot be replaced, and while the database is put back another connection holds it.
    fs.renameRefused = {"ANLAGE99.INI"};
    std::unique_ptr<Database> reader;
    const CommitResult result = CommitWorkingCopies(run.program, [&](const std::string& step) {
        if (step != "ersetzt QBXDATA.MDB")
            return;
        reader = Database::open(run.inst.path("QBXDATA.MDB"));
        ASSERT_TRUE(reader->exec("BEGIN") && reader->query("SELECT count(*) FROM BEWOHNER"));
    });
    EXPECT_EQ(result.outcome, CommitOutcome::Unfinished);
    EXPECT_EQ(result.message.find("unverändert"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("QBXDATA.MDB ist die neue Fassung, ANLAGE99.INI ist die alte Fassung"),
              std::string::npos)
        << result.message;
    EXPECT_TRUE(run.inst.exists(kCommitRecordFile));

    reader.reset();
    fs.renameRefused.clear();
    EXPECT_EQ(FinishInterruptedCommit(run.program), RecoveryOutcome::Finished);
    EXPECT_EQ(run.inst.dialogs.last().text,
              "Die letzte Sicherung wurde unterbrochen und beim Start abgeschlossen.");
    EXPECT_TRUE(run.bothNew());
    EXPECT_TRUE(run.leftovers().empty());
    EXPECT_EQ(BackupFolders(run.program).size(), 1u);
}

// An original that is a link is refused before anything is touched. A link in backup/ named like the oldest
// backup leads to another installation, which 25 commits leave as it was; the newest 20 pairs are kept.
TEST(Commit, NoLinkIsFollowedAndTheNewestTwentyPairsAreKept) {
    PosixFileSystem fs;
    test::Session run(fs);
    test::TempFolder shared;
    const std::string target = shared.path() + "/ANLAGE99.INI";
    std::filesystem::rename(run.inst.path("ANLAGE99.INI"), target);
    std::filesystem::create_symlink(target, run.inst.path("ANLAGE99.INI"));
    const CommitResult refused = CommitWorkingCopies(run.program);
    EXPECT_EQ(refused.outcome, CommitOutcome::NotSaved);
    EXPECT_EQ(refused.message,
              "Die Datei " + run.inst.path("ANLAGE99.INI") +
                  " ist eine Verknüpfung (symbolischer Link). Das Setup ersetzt nur Dateien, die "
                  "im Installationsordner selbst liegen.");
    EXPECT_EQ(run.inst.readFile("ANLAGE99.INI"), run.settingsBefore);
    EXPECT_TRUE(run.leftovers().empty());
    std::filesystem::remove(run.inst.path("ANLAGE99.INI"));
    std::filesystem::rename(target, run.inst.path("ANLAGE99.INI"));

    test::TempFolder other;
    std::string error;
    ASSERT_TRUE(writeSampleInstallation(other.path(), &error)) << error;
    const auto otherFiles = test::filesBelow(other.path());
    std::filesystem::create_directory(run.inst.path("backup"));
    std::filesystem::create_directory_symlink(other.path(), run.inst.path("backup/2000-01-01_00-00-00"));
    std::string settings;
    for (int i = 0; i < 25; ++i) {
        run.inst.loop.advance(60 * 1000);
        settings = run.inst.readFile("ANLAGE99.INI");
        ASSERT_TRUE(
            run.program.settings.write("PNLXXX", "PNL01", "PNL-A,Lauf " + std::to_string(i) + ",,,FALSE"));
        ASSERT_EQ(CommitWorkingCopies(run.program).outcome, CommitOutcome::Saved);
    }
    EXPECT_EQ(test::filesBelow(other.path()), otherFiles);
    EXPECT_TRUE(std::filesystem::is_symlink(run.inst.path("backup/2000-01-01_00-00-00")));
    const auto backups = BackupFolders(run.program);
    ASSERT_EQ(backups.size(), kBackupsKept);
    EXPECT_EQ(backups.front(), "2026-12-06_09-36-00");  // the five oldest went
    EXPECT_EQ(backups.back(), "2026-12-06_09-55-00");
    EXPECT_EQ(run.inst.readFile("backup/" + backups.back() + "/ANLAGE99.INI"), settings);
    EXPECT_EQ(ListBackups(run.program).size(), kBackupsKept);
}

TEST(Commit, ARestoredBackupIsDiscardedByNeinAndCommittedByJa) {
    PosixFileSystem fs;
    test::Session run(fs);
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
    ASSERT_TRUE(run.program.database());
    EXPECT_EQ(test::apartmentOfONeill(*run.program.database()), apartmentBefore);
    EXPECT_EQ(run.program.database()->columns("BEWOHNER").size(), 17u);
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

const std::string kKillTool = std::string(PNL_BINARY_DIR) + "/pnl-commit-and-die ";

// The step names a run of the kill tool prints before its closing message.
Strings stepsOf(const std::string& output) {
    Strings steps;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line) && !line.empty();)
        steps.push_back(line);
    return steps;
}

bool anyFileHolds(const std::string& folder, const std::string& part) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(part) != std::string::npos)
            return true;
    return false;
}

// Killed while the database working copy is made (its temporary file and the engine's journal beside it), the
// next start removes both and starts.
TEST(StartUp, KilledWhileTheWorkingCopyIsMadeTheNextStartLeavesNoFileBehind) {
    Strings steps;
    {
        StartScene scene;
        const test::CommandRun full = runChild(kKillTool + scene.inst.folder.path() + " 0 --working-copy");
        ASSERT_EQ(full.status, 0) << full.output;
        steps = stepsOf(full.output);
    }
    ASSERT_EQ(steps, (Strings{"erste Seite", "kopiert"}));
    for (std::size_t k = 1; k <= steps.size(); ++k) {
        SCOPED_TRACE("killed after " + steps[k - 1]);
        StartScene scene;
        const std::string folder = scene.inst.folder.path();
        const test::CommandRun killed =
            runChild(kKillTool + folder + " " + std::to_string(k) + " --working-copy");
        ASSERT_EQ(killed.status, -1) << killed.output;
        EXPECT_TRUE(anyFileHolds(folder, "QBXDATA_COPY.MDB.tmp-"));
        EXPECT_EQ(anyFileHolds(folder, "-journal"), steps[k - 1] == "erste Seite");
        EXPECT_EQ(FinishInterruptedCommit(*scene.inst.program), RecoveryOutcome::Nothing);
        EXPECT_FALSE(anyFileHolds(folder, ".tmp-"));
        EXPECT_FALSE(anyFileHolds(folder, "-journal"));
        EXPECT_EQ(scene.start(), StartResult::Running);
    }
}

// Killed after each step, the next start leaves a whole pair, both old or both new, with one backup of the
// old pair, and says what it did. A copy of the folder taken while the commit was cut short is settled on its
// own files: the record names files only by their names in the folder.
TEST(Commit, KilledAfterEachStepTheNextStartLeavesAWholePair) {
    Strings steps;
    {
        PosixFileSystem fs;
        test::Session run(fs);
        const test::CommandRun full = runChild(kKillTool + run.inst.folder.path() + " 0");
        ASSERT_EQ(full.status, 0) << full.output;
        steps = stepsOf(full.output);
        EXPECT_TRUE(run.bothNew());
    }
    ASSERT_EQ(steps, (Strings{"neu QBXDATA.MDB: erste Seite", "neu QBXDATA.MDB: kopiert", "neu QBXDATA.MDB",
                              "alt QBXDATA.MDB: erste Seite", "alt QBXDATA.MDB: kopiert", "alt QBXDATA.MDB",
                              "neu ANLAGE99.INI", "alt ANLAGE99.INI", "Datensatz",
                              "ersetzt QBXDATA.MDB: erste Seite", "ersetzt QBXDATA.MDB: kopiert",
                              "ersetzt QBXDATA.MDB", "ersetzt ANLAGE99.INI", "Sicherung QBXDATA.MDB",
                              "Sicherung ANLAGE99.INI", "Sicherung", "fertig"}));
    const auto record = std::find(steps.begin(), steps.end(), "Datensatz") - steps.begin();
    for (std::size_t k = 1; k < steps.size(); ++k) {
        SCOPED_TRACE("killed after " + steps[k - 1]);
        PosixFileSystem fs;
        test::Session run(fs);
        const test::CommandRun killed =
            runChild(kKillTool + run.inst.folder.path() + " " + std::to_string(k));
        ASSERT_EQ(killed.status, -1) << killed.output;
        run.inst.writeFile("QBXDATA_COPY.MDB.tmp-4242-17", "from a write a crash cut short");
        run.inst.writeFile("QBXDATA_COPY.MDB.tmp-4242-17-journal", "its journal");
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
            if (steps[k - 1] == "ersetzt QBXDATA.MDB: kopiert") {
                // The folder copied elsewhere mid-commit: its start finishes the copy and leaves the
                // original.
                test::TempFolder moved;
                std::filesystem::copy(run.inst.folder.path(), moved.path(),
                                      std::filesystem::copy_options::recursive);
                const auto originalFiles = test::filesBelow(run.inst.folder.path());
                Program elsewhere(
                    Platform{fs, run.inst.loop, run.inst.dialogs, run.inst.serial, run.inst.ports},
                    moved.path());
                EXPECT_EQ(FinishInterruptedCommit(elsewhere), RecoveryOutcome::Finished);
                EXPECT_EQ(test::contentOf(moved.path() + "/QBXDATA.MDB"), run.databaseCopy);
                EXPECT_EQ(test::filesBelow(moved.path())[moved.path() + "/ANLAGE99.INI"], run.settingsCopy);
                EXPECT_EQ(test::filesBelow(run.inst.folder.path()), originalFiles);
            }
            const RecoveryOutcome outcome = FinishInterruptedCommit(run.program);
            EXPECT_EQ(outcome == RecoveryOutcome::Finished, recorded);
            EXPECT_NE(outcome, RecoveryOutcome::Unresolved);
            EXPECT_EQ(run.inst.dialogs.shown.empty(), outcome == RecoveryOutcome::Nothing);
            for (const Message& box : run.inst.dialogs.shown)
                EXPECT_EQ(box.icon, MsgIcon::Information);
        }
        EXPECT_TRUE(recorded ? run.bothNew() : run.bothOld());
        EXPECT_TRUE(run.leftovers().empty()) << ::testing::PrintToString(run.leftovers());
        EXPECT_EQ(BackupFolders(run.program).size(), recorded ? 1u : 0u);
        run.expectWholeDatabase();
    }
}

}  // namespace
}  // namespace pnl
