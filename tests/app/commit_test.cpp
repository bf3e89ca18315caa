#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/backup_window.h"
#include "app/backups.h"
#include "app/commit.h"
#include "app/commit_record.h"
#include "app/log_reader.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "forms/frm_backups.h"
#include "support/installation.h"
#include "support/shell_command.h"
#include "tools/sample/sample_installation.h"

namespace pnl {
namespace {

// The real file system, failing its n-th call that changes something (0: none) and counting them.
class FailingFileSystem : public PosixFileSystem {
  public:
    int failAt = 0;
    int calls = 0;
    // Renames onto (or from) paths ending so fail every time, as a file another program holds open.
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
    bool writeFileAtomic(const std::string& path, const std::string& content) override {
        return !fails() && PosixFileSystem::writeFileAtomic(path, content);
    }
    bool deleteFile(const std::string& path) override {
        return !fails() && PosixFileSystem::deleteFile(path);
    }

  private:
    bool fails() { return ++calls == failAt; }
};

// An installation after a run that renamed a station and moved a resident, its database copy closed as at
// "Ja".
struct Session {
    explicit Session(FileSystem& fs)
        : program(Platform{fs, inst.loop, inst.dialogs, inst.serial, inst.ports}, inst.folder.path()) {
        std::string error;
        EXPECT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
        program.UserLevel = 5;
        EXPECT_EQ(StartUp(program, {}), StartResult::Running);
        databaseBefore = inst.readFile("QBXDATA.MDB");
        settingsBefore = inst.readFile("ANLAGE99.INI");
        EXPECT_TRUE(program.InitX.write("PNLXXX", "PNL00", "PNL-B,Haupteingang Nord,012345,,FALSE"));
        EXPECT_TRUE(program.DataBewo->exec("UPDATE BEWOHNER SET Wnr = 'C001' WHERE Name = 'O''Neill'"));
        program.residents.reset();
        program.DataBewo.reset();
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

    test::Installation inst;
    Program program;
    std::string databaseBefore, settingsBefore;
    // The working copies as the run left them.
    std::string databaseCopy, settingsCopy;
};

TEST(Commit, AnInjectedFailureAtAnyStepIsNeverReportedAsSaved) {
    int total = 0;
    {
        FailingFileSystem fs;
        Session run(fs);
        fs.calls = 0;
        ASSERT_EQ(CommitWorkingCopies(run.program).outcome, CommitOutcome::Saved);
        total = fs.calls;
        EXPECT_TRUE(run.bothNew());
        EXPECT_TRUE(run.leftovers().empty());
    }
    ASSERT_GT(total, 10);
    for (int failAt = 1; failAt <= total; ++failAt) {
        SCOPED_TRACE("failing call " + std::to_string(failAt));
        FailingFileSystem fs;
        Session run(fs);
        fs.calls = 0;
        fs.failAt = failAt;
        const CommitResult result = CommitWorkingCopies(run.program);
        if (result.outcome == CommitOutcome::NotSaved) {
            EXPECT_TRUE(run.bothOld());
            EXPECT_TRUE(run.leftovers().empty());
        } else if (result.outcome == CommitOutcome::Saved) {
            EXPECT_TRUE(run.bothNew());
            EXPECT_TRUE(run.leftovers().empty());
        } else {
            EXPECT_NE(result.message.find("Beim nächsten Start"), std::string::npos) << result.message;
        }
        // The next start settles whatever is left, and the pair agrees with what the user was told.
        fs.failAt = 0;
        const RecoveryOutcome recovered = FinishInterruptedCommit(run.program);
        EXPECT_NE(recovered, RecoveryOutcome::Unresolved);
        EXPECT_TRUE(result.outcome == CommitOutcome::NotSaved ? run.bothOld() : run.bothNew());
        EXPECT_TRUE(run.leftovers().empty());
        run.expectWholeDatabase();
    }
}

TEST(Commit, ADoubleFaultSaysWhichFileIsInWhichStateAndTheNextStartFinishes) {
    FailingFileSystem fs;
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

TEST(Commit, ASymlinkedOriginalIsReplacedAtItsTarget) {
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
    const auto backups = BackupFolders(run.program);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(run.inst.readFile("backup/" + backups[0] + "/ANLAGE99.INI"), run.settingsBefore);
    EXPECT_EQ(run.inst.readFile("backup/" + backups[0] + "/QBXDATA.MDB"), run.databaseBefore);
}

TEST(Commit, AReadOnlyOriginalRefusesJaBeforeAnythingIsTouched) {
    PosixFileSystem fs;
    Session run(fs);
    ::chmod(run.inst.path("ANLAGE99.INI").c_str(), 0444);
    run.inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_TRUE(ShutDown(run.program));  // the run goes on
    const Message& box = run.inst.dialogs.last();
    EXPECT_NE(box.text.find("NICHT übernommen"), std::string::npos);
    EXPECT_NE(box.text.find(run.inst.path("ANLAGE99.INI") + " ist schreibgeschützt"), std::string::npos)
        << box.text;
    EXPECT_TRUE(run.bothOld());
    EXPECT_TRUE(run.leftovers().empty());
    EXPECT_TRUE(run.program.DataBewo);  // the working copy is open again
    EXPECT_TRUE(run.inst.exists("ANLAGE99_COPY.INI"));
}

TEST(Commit, TheNewestTwentyPairsAreKeptUnderBackup) {
    PosixFileSystem fs;
    Session run(fs);
    for (int i = 0; i < 22; ++i) {
        run.inst.loop.advance(60 * 1000);
        ASSERT_EQ(CommitWorkingCopies(run.program).outcome, CommitOutcome::Saved);
    }
    const auto backups = BackupFolders(run.program);
    ASSERT_EQ(backups.size(), kBackupsKept);
    EXPECT_EQ(backups.front(), "2026-12-06_09-33-00");  // the two oldest went
    EXPECT_EQ(backups.back(), "2026-12-06_09-52-00");
    EXPECT_EQ(run.inst.readFile("backup/" + backups.back() + "/ANLAGE99.INI"),
              run.inst.readFile("ANLAGE99.INI"));
}

std::string wnrOfONeill(const std::string& database) {
    auto db = Database::open(database);
    return dbText(db->query("SELECT Wnr FROM BEWOHNER WHERE Name = 'O''Neill'")->at(0).at(0));
}

TEST(Commit, ARestoredBackupIsCommittedByJaAndDiscardedByNein) {
    PosixFileSystem fs;
    Session run(fs);
    const std::string wnrBefore = wnrOfONeill(run.inst.path("QBXDATA.MDB"));
    ASSERT_EQ(CommitWorkingCopies(run.program).outcome, CommitOutcome::Saved);
    const std::string committedSettings = run.inst.readFile("ANLAGE99.INI");
    const std::string committedDatabase = run.inst.readFile("QBXDATA.MDB");

    for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        ASSERT_EQ(StartUp(run.program, {}), StartResult::Running);
        const auto backups = ListBackups(run.program);
        ASSERT_FALSE(backups.empty());
        EXPECT_EQ(backups.front().when, "06.12.2026 09:30:00");
        EXPECT_EQ(backups.front().residents, 41);
        EXPECT_EQ(backups.front().stations, 3);
        if (answer == MsgAnswer::No) {
            // Through the window, as the user does it.
            FrmBackups form;
            BackupWindowController window(run.program, form);
            int restored = 0;
            window.restored = [&] { ++restored; };
            form.setVisible(true);
            window.Form_Load();
            EXPECT_EQ(form.LstBackups.lines(), std::vector<std::string>{"06.12.2026 09:30:00|41|3"});
            EXPECT_FALSE(form.CmdRestore.enabled());
            form.LstBackups.setListIndex(0);
            window.LstBackups_Click();
            EXPECT_TRUE(form.CmdRestore.enabled());
            run.inst.dialogs.answer(MsgAnswer::Yes);
            window.CmdRestore_Click();
            EXPECT_EQ(run.inst.dialogs.last().buttons, MsgButtons::YesNo);
            EXPECT_EQ(restored, 1);
            EXPECT_FALSE(form.visible());
        } else {
            ASSERT_TRUE(RestoreBackup(run.program, backups.back().folder));
        }
        EXPECT_EQ(run.inst.readFile("ANLAGE99_COPY.INI"), run.settingsBefore);
        ASSERT_TRUE(run.program.DataBewo);
        EXPECT_EQ(
            dbText(
                run.program.DataBewo->query("SELECT Wnr FROM BEWOHNER WHERE Name = 'O''Neill'")->at(0).at(0)),
            wnrBefore);
        EXPECT_EQ(run.program.DataBewo->columns("BEWOHNER").size(), 17u);

        run.inst.dialogs.answer(answer);
        EXPECT_FALSE(ShutDown(run.program));
        if (answer == MsgAnswer::No) {
            EXPECT_EQ(run.inst.readFile("ANLAGE99.INI"), committedSettings);
            EXPECT_EQ(run.inst.readFile("QBXDATA.MDB"), committedDatabase);
        } else {
            EXPECT_EQ(run.inst.readFile("ANLAGE99.INI"), run.settingsBefore);
            EXPECT_EQ(wnrOfONeill(run.inst.path("QBXDATA.MDB")), wnrBefore);
        }
    }
    std::string log;
    for (const auto& entry : readLog(run.inst.readFile("log/06122026.log"), "06122026"))
        log += entry.text.value_or("!!") + "\n";
    EXPECT_NE(log.find("Sicherung vom 06.12.2026 09:30:00 wiederhergestellt"), std::string::npos) << log;
}

// The command replaces the shell, so that a kill ends it with no exit status (-1).
test::CommandRun runChild(const std::string& command) {
    return test::runShellCommand("exec " + command + " 2>&1");
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The commit process killed after each of its steps: the next start leaves both files old or both new, whole,
// without leftovers, and says what it did.
TEST(Commit, KilledAfterEachStepTheNextStartLeavesAWholePair) {
    const std::string tool = std::string(PNL_BINARY_DIR) + "/pnl-commit-and-die ";
    std::vector<std::string> steps;
    {
        PosixFileSystem fs;
        Session run(fs);
        const test::CommandRun full = runChild(tool + run.inst.folder.path() + " 0");
        ASSERT_EQ(full.status, 0) << full.output;
        steps = linesOf(full.output);
        steps.pop_back();  // the (empty) message line
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
