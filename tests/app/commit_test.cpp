#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "app/backup_window.h"
#include "app/backups.h"
#include "app/commit.h"
#include "app/commit_record.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "app_fixture.h"
#include "forms/frm_backups.h"
#include "support/shell_command.h"

namespace pnl {
namespace {

using test::FailingFileSystem;

// A run after its changes, its database copy closed as at "Ja".
struct Session : test::SampleRun {
    explicit Session(FileSystem& fs) : SampleRun(fs) {
        change();
        program.residents.reset();
        program.DataBewo.reset();
    }
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
        const bool notSaved = result.outcome == CommitOutcome::NotSaved;
        if (notSaved || result.outcome == CommitOutcome::Saved) {
            EXPECT_TRUE(notSaved ? run.bothOld() && result.icon == MsgIcon::Critical : run.bothNew());
            EXPECT_TRUE(run.leftovers().empty());
        } else {
            EXPECT_NE(result.message.find("Beim nächsten Start"), std::string::npos) << result.message;
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

TEST(Commit, ARestoredBackupIsCommittedByJaAndDiscardedByNein) {
    PosixFileSystem fs;
    Session run(fs);
    const std::string wnrBefore = test::wnrOfONeill(*Database::open(run.inst.path("QBXDATA.MDB")));
    ASSERT_EQ(CommitWorkingCopies(run.program).outcome, CommitOutcome::Saved);
    const std::string committedSettings = run.inst.readFile("ANLAGE99.INI");
    const std::string committedDatabase = run.inst.readFile("QBXDATA.MDB");

    for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        ASSERT_EQ(StartUp(run.program, {}), StartResult::Running);
        const auto backups = ListBackups(run.program);
        ASSERT_FALSE(backups.empty());
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
        EXPECT_EQ(test::wnrOfONeill(*run.program.DataBewo), wnrBefore);
        EXPECT_EQ(run.program.DataBewo->columns("BEWOHNER").size(), 17u);

        run.inst.dialogs.answer(answer);
        EXPECT_FALSE(ShutDown(run.program));
        if (answer == MsgAnswer::No) {
            EXPECT_EQ(run.inst.readFile("ANLAGE99.INI"), committedSettings);
            EXPECT_EQ(run.inst.readFile("QBXDATA.MDB"), committedDatabase);
        } else {
            EXPECT_EQ(run.inst.readFile("ANLAGE99.INI"), run.settingsBefore);
            EXPECT_EQ(test::wnrOfONeill(*Database::open(run.inst.path("QBXDATA.MDB"))), wnrBefore);
        }
    }
    const auto log = run.inst.logTexts();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Sicherung vom 06.12.2026 09:30:00 wiederhergestellt"), 2);
}

// The command replaces the shell, so that a kill ends it with no exit status (-1).
test::CommandRun runChild(const std::string& command) {
    return test::runShellCommand("exec " + command + " 2>&1");
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
