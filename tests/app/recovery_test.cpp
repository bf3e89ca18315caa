// The start after an interrupted commit, given files it must not trust (planted records, links, files changed
// after the crash), and the backups that "Sicherungen" offers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "app/backups.h"
#include "app/backups_window.h"
#include "app/commit.h"
#include "app/commit_record.h"
#include "app/shutdown.h"
#include "app_fixture.h"
#include "forms/backups_window.h"

namespace pnl {
namespace {

constexpr auto npos = std::string::npos;

struct Crash {};

// The commit cut short by a crash right after `step`: nothing after it runs.
void crashAfter(test::Session& run, const std::string& step) {
    EXPECT_THROW(CommitWorkingCopies(run.program,
                                     [&step](const std::string& done) {
                                         if (done == step)
                                             throw Crash{};
                                     }),
                 Crash);
}

std::string settingsState(test::Session& run, const std::string& name) {
    return fileState(*run.inst.fs.openFolder(run.inst.folder.path(), nullptr)->digest(name));
}

// A whole record of this commit, as the commit would have written it.
std::string recordOf(test::Session& run) {
    std::vector<CommitEntry> entries(2);
    entries[0] = CommitEntry{kDatabaseFile, true, run.databaseBefore, run.databaseCopy};
    entries[1] = CommitEntry{kSettingsFile, false, settingsState(run, kSettingsFile),
                             settingsState(run, kSettingsCopy)};
    return formatCommitRecord(entries);
}

// Planted records and links: the start refuses with a box naming the record and changes nothing, inside the
// folder or outside it (a folder beside it holds files a record could name and another program's temporary
// file).
TEST(Recovery, ARecordNamingAnythingButTheTwoFilesOrALinkIsRefusedAndNothingChanges) {
    const std::string sha(64, 'a');
    struct Row {
        const char* kind;
        std::function<void(test::Session&, const std::string& outside)> plant;
        std::string says;  // "@": the installation folder, "%": the folder outside
    };
    const Row rows[] = {
        {"absolute paths in the earlier format",
         [&](test::Session& run, const std::string& out) {
             run.inst.writeFile(kCommitRecordFile,
                                "PNL-Sicherung 1\nDatei QBXDATA.MDB\nZiel " + out + "/precious.txt\nNeu 3 " +
                                    sha + " " + out + "/target.txt\nAlt keine " + out + "/x.tmp-1-1\nEnde\n");
         },
         "ist kein gültiger Sicherungsdatensatz. Sie ist kein Sicherungsdatensatz dieses Setups."},
        {"an absolute path",
         [&](test::Session& run, const std::string& out) {
             std::string record = recordOf(run);
             record.replace(record.find("QBXDATA.MDB"), 11, out + "/precious.txt");
             run.inst.writeFile(kCommitRecordFile, record);
         },
         "Sie nennt „%/precious.txt“; ein Sicherungsdatensatz nennt nur QBXDATA.MDB und ANLAGE99.INI im "
         "Installationsordner."},
        {"a parent folder",
         [&](test::Session& run, const std::string&) {
             std::string record = recordOf(run);
             record.replace(record.find("ANLAGE99.INI"), 12, "../victim/planted.txt");
             run.inst.writeFile(kCommitRecordFile, record);
         },
         "Sie nennt „../victim/planted.txt“"},
        {"links beside the originals",
         [&](test::Session& run, const std::string& out) {
             run.inst.writeFile(kCommitRecordFile, recordOf(run));
             std::filesystem::create_symlink(out + "/target.txt", run.path("ANLAGE99.INI.neu"));
             std::filesystem::create_symlink(out + "/precious.txt", run.path("QBXDATA.MDB.alt"));
         },
         "Die Datei @/QBXDATA.MDB.alt ist eine Verknüpfung (symbolischer Link) oder keine gewöhnliche "
         "Datei."},
        {"the record a link",
         [&](test::Session& run, const std::string& out) {
             std::ofstream(out + "/record.txt") << recordOf(run);
             std::filesystem::create_symlink(out + "/record.txt", run.path(kCommitRecordFile));
         },
         "Die Datei @/SICHERUNG-LAEUFT.TXT ist eine Verknüpfung (symbolischer Link) oder keine gewöhnliche "
         "Datei; sie wird nicht ausgeführt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        PosixFileSystem fs;
        test::Session run(fs);
        test::TempFolder outside;
        for (const char* name : {"precious.txt", "target.txt", "x.tmp-1-1"})
            std::ofstream(outside.path() + "/" + name) << "gehört einem anderen Programm: " << name;
        row.plant(run, outside.path());
        const auto outsideBefore = test::filesBelow(outside.path());
        const auto insideBefore = test::filesBelow(run.inst.folder.path());

        EXPECT_EQ(FinishInterruptedCommit(run.program), RecoveryOutcome::Unresolved);
        std::string says = row.says;
        for (auto at = says.find('@'); at != npos; at = says.find('@'))
            says.replace(at, 1, run.inst.folder.path());
        for (auto at = says.find('%'); at != npos; at = says.find('%'))
            says.replace(at, 1, outside.path());
        const Message& box = run.inst.dialogs.last();
        EXPECT_EQ(box.icon, MsgIcon::Critical);
        EXPECT_NE(box.text.find(says), npos) << box.text;
        EXPECT_NE(box.text.find("nichts wurde verändert"), npos) << box.text;
        EXPECT_NE(box.text.find(run.path(kCommitRecordFile)), npos) << box.text;
        EXPECT_EQ(test::filesBelow(outside.path()), outsideBefore);
        EXPECT_EQ(test::filesBelow(run.inst.folder.path()), insideBefore);
    }
}

// A file changed between the crash and the next start stops the recovery: the changed file stays as it is,
// the commit's new and old versions stay beside it, the box names where each lies, and the record is kept.
TEST(Recovery, AFileChangedAfterTheCrashStopsTheRecoveryAndEveryVersionIsKept) {
    struct Row {
        const char* file;
        std::function<void(test::Session&)> change;
    };
    const Row rows[] = {
        {"QBXDATA.MDB",
         [](test::Session& run) {
             ASSERT_TRUE(Database::open(run.path("QBXDATA.MDB"))
                             ->exec("UPDATE BEWOHNER SET Vorname = 'Geändert' WHERE Name = 'O''Neill'"));
         }},
        // Written in place, as an editor that keeps the file's inode writes it.
        {"ANLAGE99.INI",
         [](test::Session& run) {
             std::ofstream(run.path("ANLAGE99.INI"), std::ios::binary | std::ios::app) << "; geändert\r\n";
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        PosixFileSystem fs;
        test::Session run(fs);
        crashAfter(run, "ersetzt QBXDATA.MDB");
        row.change(run);
        const auto before = test::filesBelow(run.inst.folder.path());

        EXPECT_EQ(FinishInterruptedCommit(run.program), RecoveryOutcome::Unresolved);
        const std::string text = run.inst.dialogs.last().text;
        EXPECT_NE(text.find(std::string(row.file) +
                            " wurde nach der unterbrochenen Sicherung verändert; diese Fassung bleibt in " +
                            run.path(row.file) + "."),
                  npos)
            << text;
        for (const char* name : {"QBXDATA.MDB", "ANLAGE99.INI"}) {
            EXPECT_NE(text.find("Die neue Fassung von " + std::string(name) + " liegt in " +
                                run.path(std::string(name) + ".neu")),
                      npos)
                << text;
            EXPECT_NE(text.find("Die alte Fassung von " + std::string(name) + " liegt in " +
                                run.path(std::string(name) + ".alt")),
                      npos)
                << text;
        }
        EXPECT_EQ(test::filesBelow(run.inst.folder.path()), before);
        EXPECT_EQ(test::contentOf(run.path("QBXDATA.MDB.neu")), run.databaseCopy);
        EXPECT_EQ(test::contentOf(run.path("QBXDATA.MDB.alt")), run.databaseBefore);
        EXPECT_EQ(run.inst.readFile("ANLAGE99.INI.neu"), run.settingsCopy);
        EXPECT_EQ(run.inst.readFile("ANLAGE99.INI.alt"), run.settingsBefore);
    }
}

// "Sicherungen" offers and restores only a backup with both files, a database with table BEWOHNER and the
// program's columns, and a readable settings file; a backup folder that is a link is none.
TEST(Backups, OnlyAWholeReadableBackupIsListedOrRestored) {
    PosixFileSystem fs;
    test::Session run(fs);
    ASSERT_EQ(CommitWorkingCopies(run.program).outcome, CommitOutcome::Saved);
    const auto real = BackupFolders(run.program);
    ASSERT_EQ(real.size(), 1u);
    const std::string good = run.path("backup/" + real[0]);
    test::TempFolder other;
    std::string error;
    ASSERT_TRUE(writeSampleInstallation(other.path(), &error)) << error;

    struct Row {
        const char* name;
        std::function<void(const std::string& folder)> plant;
        std::string says;
    };
    auto copyOfGood = [&](const std::string& folder) {
        std::filesystem::create_directory(folder);
        std::filesystem::copy_file(good + "/QBXDATA.MDB", folder + "/QBXDATA.MDB");
        std::filesystem::copy_file(good + "/ANLAGE99.INI", folder + "/ANLAGE99.INI");
    };
    auto changeDatabase = [](const std::string& folder, const char* statement) {
        ASSERT_TRUE(Database::open(folder + "/QBXDATA.MDB")->exec(statement));
    };
    const Row rows[] = {
        {"2026-01-01_00-00-00",
         [&](const std::string& f) {
             copyOfGood(f);
             changeDatabase(f, "ALTER TABLE BEWOHNER RENAME TO LEUTE");
         },
         "QBXDATA.MDB der Sicherung hat keine Tabelle BEWOHNER."},
        {"2026-01-02_00-00-00",
         [&](const std::string& f) {
             copyOfGood(f);
             changeDatabase(f, "ALTER TABLE BEWOHNER DROP COLUMN code");
         },
         "Der Tabelle BEWOHNER der Sicherung fehlt die Spalte code."},
        {"2026-01-03_00-00-00",
         [&](const std::string& f) {
             copyOfGood(f);
             std::ofstream(f + "/QBXDATA.MDB", std::ios::trunc) << "keine Datenbank";
         },
         "QBXDATA.MDB der Sicherung ist nicht lesbar: "},
        {"2026-01-04_00-00-00",
         [&](const std::string& f) {
             copyOfGood(f);
             std::filesystem::remove(f + "/ANLAGE99.INI");
             std::filesystem::create_symlink(other.path() + "/ANLAGE99.INI", f + "/ANLAGE99.INI");
         },
         "Die Sicherung 2026-01-04_00-00-00 ist nicht vollständig."},
        {"2026-01-05_00-00-00",
         [&](const std::string& f) { std::filesystem::create_directory_symlink(other.path(), f); },
         "ist eine Verknüpfung (symbolischer Link), der das Setup nicht folgt."},
    };
    for (const Row& row : rows)
        row.plant(run.path("backup/") + row.name);
    const auto otherFiles = test::filesBelow(other.path());

    const auto listed = ListBackups(run.program);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].folder, real[0]);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string copyBefore = run.inst.readFile("ANLAGE99_COPY.INI");
        EXPECT_FALSE(RestoreBackup(run.program, row.name));
        const Message& box = run.inst.dialogs.last();
        EXPECT_NE(box.text.find(row.says), npos) << box.text;
        EXPECT_NE(box.text.find("Bewohner und Einstellungen sind unverändert."), npos);
        EXPECT_EQ(run.inst.readFile("ANLAGE99_COPY.INI"), copyBefore);
        EXPECT_EQ(test::contentOf(run.path("QBXDATA_COPY.MDB")), run.databaseCopy);
    }
    EXPECT_EQ(test::filesBelow(other.path()), otherFiles);
}

// When no backup folder can be made (a file is named backup), "Ja" still saves; the old pair stays beside the
// originals and the note says where.
TEST(Backups, ABackupThatCannotBeMadeKeepsTheOldPairAndSaysWhere) {
    PosixFileSystem fs;
    test::Session run(fs);
    run.inst.writeFile("backup", "eine Datei");
    const CommitResult result = CommitWorkingCopies(run.program);
    EXPECT_EQ(result.outcome, CommitOutcome::Saved);
    const std::string database = "QBXDATA.MDB.vorher-2026-12-06_09-30-00";
    const std::string settings = "ANLAGE99.INI.vorher-2026-12-06_09-30-00";
    EXPECT_EQ(result.message,
              "Die vorige Fassung konnte nicht unter backup/ abgelegt werden: An der Stelle des "
              "Ordners " +
                  run.path("backup") +
                  " liegt eine Datei oder eine Verknüpfung.\nDie vorige "
                  "Fassung liegt in " +
                  run.path(database) + " und " + run.path(settings) + ".\n");
    EXPECT_TRUE(run.bothNew());
    EXPECT_EQ(test::contentOf(run.path(database)), run.databaseBefore);
    EXPECT_EQ(run.inst.readFile(settings), run.settingsBefore);
    EXPECT_EQ(run.inst.readFile("backup"), "eine Datei");
    EXPECT_TRUE(run.leftovers().empty());
}

// "Sicherungen" as the user meets it: an empty list explained; each backup named by the state it holds; the
// residents that differ from today, with their values then and now; the restore asks with "Nein" the default
// and changes nothing on "Nein"; after "Ja" the status bar says so, the same backup shows no difference, and
// the exit question says that "Ja" keeps the restored state.
TEST(BackupsWindow, ShowsWhoDiffersAndRestoresOnlyOnJa) {
    PosixFileSystem fs;
    test::Session run(fs);
    std::vector<std::string> notices;
    run.program.statusNotice = [&notices](const std::string& text) { notices.push_back(text); };
    BackupsWindowForm form;
    BackupsWindowController window(run.program, form);
    form.setVisible(true);
    window.load();
    EXPECT_TRUE(form.backupList.lines().empty());
    EXPECT_EQ(
        form.backupNote.caption(),
        "Noch keine Sicherung. Jedes Mal, wenn Sie beim Beenden \"Ja\" wählen, wird der Stand davor hier "
        "aufbewahrt (die letzten 20).");

    // The sample as written goes into the backup; today O'Neill lives in C001, Weiß is spelt Weiss, Böhm
    // moved out and Ahrens moved in.
    ASSERT_EQ(CommitWorkingCopies(run.program).outcome, CommitOutcome::Saved);
    ASSERT_EQ(StartUp(run.program, {}), StartResult::Running);
    for (const char* change :
         {"UPDATE BEWOHNER SET Name = 'Weiss' WHERE Name = 'Weiß'",
          "DELETE FROM BEWOHNER WHERE Name = 'Böhm'",
          "INSERT INTO BEWOHNER (Name, Vorname, Wnr, sernr) VALUES ('Ahrens', 'Ida', 'C002', 100400)"})
        ASSERT_TRUE(run.program.database()->exec(change)) << change;
    const std::string databaseToday = test::contentOf(run.path("QBXDATA_COPY.MDB"));
    const std::string settingsToday = run.inst.readFile("ANLAGE99_COPY.INI");

    window.load();
    EXPECT_EQ(form.backupList.headers().at(0), "Stand vor dem Sichern am");
    ASSERT_EQ(form.backupList.lines(), std::vector<std::string>{"06.12.2026 09:30:00|41|3"});
    form.backupList.setListIndex(0);
    window.backupChosen();
    EXPECT_EQ(form.differenceList.lines(),
              (std::vector<std::string>{
                  "Ahrens, Ida (Wohnung C002)|nicht vorhanden|neu",
                  "Böhm, Lutz (Wohnung A009)|vorhanden|gelöscht",
                  "O'Neill, Patrick (Wohnung C001)|Wohnungsnummer A005|Wohnungsnummer C001",
                  "Weiss, Gisela (Wohnung A003)|Name Weiß, Gisela|Name Weiss, Gisela",
              }));
    EXPECT_EQ(form.differenceNote.caption(),
              "4 Bewohner sind heute anders als vor dem Sichern am 06.12.2026 09:30:00. Die Einstellungen "
              "(PNL, Schnittstellen, Berechtigungen) sind heute anders.");

    run.inst.dialogs.answer(MsgAnswer::No);
    window.restore();
    const Message& question = run.inst.dialogs.last();
    EXPECT_EQ(question.text,
              "Bewohner und Einstellungen auf den Stand vor dem Sichern am 06.12.2026 09:30:00 "
              "zurücksetzen?\n\nWas seitdem an 4 Bewohnern und an den Einstellungen geändert wurde, geht "
              "dabei verloren. Endgültig gespeichert wird dieser Stand erst, wenn Sie beim Beenden \"Ja\" "
              "wählen.");
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.defaultAnswer, MsgAnswer::No);
    EXPECT_TRUE(form.visible());
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(test::contentOf(run.path("QBXDATA_COPY.MDB")), databaseToday);
    EXPECT_EQ(run.inst.readFile("ANLAGE99_COPY.INI"), settingsToday);

    run.inst.dialogs.answer(MsgAnswer::Yes);
    window.restore();
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(notices, std::vector<std::string>{"Wiederhergestellt: Stand vor dem Sichern am 06.12.2026 "
                                                "09:30:00. Beim Beenden behält \"Ja\" ihn."});
    EXPECT_EQ(test::apartmentOfONeill(*run.program.database()), "A005");
    window.load();
    form.backupList.setListIndex(0);
    window.backupChosen();
    EXPECT_TRUE(form.differenceList.lines().empty());
    EXPECT_EQ(form.differenceNote.caption(),
              "Keine Unterschiede: Die Bewohner sind heute dieselben wie vor dem Sichern am 06.12.2026 "
              "09:30:00. Die Einstellungen sind dieselben.");

    run.inst.dialogs.answer(MsgAnswer::Cancel);
    EXPECT_TRUE(ShutDown(run.program));
    EXPECT_NE(run.inst.dialogs.last().text.find(
                  "Sie haben den Stand vor dem Sichern am 06.12.2026 09:30:00 wiederhergestellt: \"Ja\" "
                  "behält ihn, \"Nein\" verwirft ihn."),
              npos)
        << run.inst.dialogs.last().text;
}

}  // namespace
}  // namespace pnl
