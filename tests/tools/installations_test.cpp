// The installations of a technician on the built pnl-setup: the list this user has opened with its state, and
// one headless run over many installations, with a damaged, a missing and an open one among them, and over
// three pseudo-terminals with a station simulator each.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "app/instance_lock.h"
#include "app/program.h"
#include "app/settings_file.h"
#include "app/station_records.h"
#include "platform/file_lock.h"
#include "stations/station_difference.h"
#include "support/installation.h"
#include "support/shell_command.h"
#include "tools/sample/sample_installation.h"

namespace pnl::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct Buildings {
    // A sample installation with its station assignment, its link on COMn, named by the visualisation's
    // title; the stations in `current` recorded as holding what they would receive now.
    std::string add(const std::string& name, int com, const std::vector<int>& current) {
        const std::string folder = root.path() + "/" + name;
        std::string error;
        EXPECT_TRUE(writeSampleInstallation(folder, &error, SampleOptions{true, false})) << error;
        SettingsFile settings(fs);
        settings.setFileName(folder + "/" + kSettingsFile);
        EXPECT_TRUE(settings.write("Schnittstellen", "COM1", ""));
        EXPECT_TRUE(settings.write("Schnittstellen", "COM" + std::to_string(com), "30,FALSE"));
        EXPECT_TRUE(settings.write("Visualisierung", "Titel", name));
        Program program(Platform{fs, loop, dialogs, serial, ports}, folder);
        program.settings.setFileName(program.path(kSettingsFile));
        EXPECT_TRUE(program.useDatabase(Database::openReadOnly(program.path(kDatabaseFile))));
        for (int station : current) {
            const StationRecord record = readStation(program, station);
            const StationDifference now =
                StationDifferenceOf(program, station, StationDirectoryOf(*program.residents(), station));
            EXPECT_TRUE(writeStationState(
                program, station,
                StationState{true, DateTime{2026, 12, 6, 14, 3, 0},
                             static_cast<std::uint32_t>(std::stoul(record.serial)),
                             record.olderFirmware ? Firmware::V27 : Firmware::V3, now.added}));
        }
        return folder;
    }
    CommandRun run(const std::string& arguments) const {
        return runShellCommand("XDG_CONFIG_HOME='" + root.path() +
                               "/config' timeout -k 5 600 " PNL_BINARY_DIR "/pnl-setup " + arguments +
                               " 2>&1");
    }
    std::string read(const std::string& path) const { return fs.readFile(path).value_or("<fehlt>"); }

    TempFolder root;
    PosixFileSystem fs;
    VirtualEventLoop loop;
    ScriptedDialogs dialogs;
    RecordingSerialPort serial{loop};
    FakePortQueries ports;
};

// No port is opened: every station is current, so nothing is sent; the damaged, the missing and the open
// folder are reported and the others still run; the list shows what the run opened, with its state.
TEST(Installations, ARunOverManyReportsEachAndTheListShowsTheirState) {
    Buildings b;
    const std::string eiche = b.add("Eichenweg", 1, {0, 1, 2}), linde = b.add("Lindenhof", 1, {0, 1, 2}),
                      damaged = b.add("Kaputt", 1, {}), open = b.add("Offen", 1, {0, 1, 2});
    ASSERT_TRUE(b.fs.writeFileAtomic(damaged + "/QBXDATA.MDB", "kein SQLite"));
    const std::string list = b.root.path() + "/liste.txt";
    ASSERT_TRUE(
        b.fs.writeFileAtomic(list, "# Anlagen\n" + linde + "\n\nKaputt\n" + b.root.path() + "/Weg\n"));
    FileLock running;  // the program runs on "Offen"
    ASSERT_EQ(running.tryLock(open + "/" + kLockFile, "4242"), FileLock::Result::Locked);
    const std::string before = b.read(eiche + "/ANLAGE99.INI") + b.read(eiche + "/QBXDATA.MDB");

    const CommandRun many = b.run("--folders " + eiche + " " + list + " " + open +
                                  " --transfer changed --report " + b.root.path() + "/bericht.csv 5");
    EXPECT_EQ(many.status, 2) << many.output;
    EXPECT_THAT(many.output,
                HasSubstr("Übersicht über 5 Anlagen:\n"
                          "Eichenweg: Alle PNL sind seit dem letzten Senden unverändert, nichts zu senden.\n"
                          "Lindenhof: Alle PNL sind seit dem letzten Senden unverändert, nichts zu senden.\n"
                          "Kaputt: nicht gelaufen: "));
    EXPECT_THAT(many.output,
                HasSubstr("Weg: nicht gelaufen: Ordner fehlt\n"
                          "Offen: übersprungen: das Setupprogramm läuft für diesen Ordner (Prozess 4242)\n"));
    EXPECT_THAT(many.output, Not(HasSubstr(" geöffnet, Wartezeit")));  // no port was opened
    EXPECT_EQ(b.read(eiche + "/ANLAGE99.INI") + b.read(eiche + "/QBXDATA.MDB"), before);
    const std::string csv = b.read(b.root.path() + "/bericht.csv");
    EXPECT_THAT(
        csv, HasSubstr("Anlage;PNL;Ergebnis;Bewohner;Dauer;Ordner\r\n"
                       "Eichenweg;;Alle PNL sind seit dem letzten Senden unverändert, nichts zu senden.;;;" +
                       eiche + "\r\n"));
    EXPECT_THAT(
        csv,
        HasSubstr("Offen;;übersprungen: das Setupprogramm läuft für diesen Ordner (Prozess 4242);;;" + open));

    // Remembered: the three that ran (the open one was not opened); a vanished folder stays listed as
    // missing.
    std::filesystem::remove_all(linde);
    ASSERT_TRUE(b.fs.deleteFile(eiche + "/PNL01_STAND.TXT"));
    const CommandRun listed = b.run("--list-installations");
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(b.read(b.root.path() + "/config/pnl-fernwartung/anlagen"),
              eiche + "\n" + linde + "\n" + damaged + "\n");
    EXPECT_THAT(listed.output,
                HasSubstr("Eichenweg – " + eiche +
                          " – 41 Bewohner, 3 PNL\n"
                          "  PNL00 Haupteingang: aktuell, zuletzt übertragen 06.12.2026 14:03\n"
                          "  PNL01 Nebeneingang: nie übertragen\n"
                          "  PNL02 Tiefgarage: aktuell, zuletzt übertragen 06.12.2026 14:03\n"
                          "Lindenhof – " +
                          linde + " – fehlt\nKaputt – " + damaged));
    EXPECT_THAT(listed.output, HasSubstr("  PNL00 Haupteingang: Stand unbekannt\n"));

    // Wrong combinations are refused before anything runs.
    for (const std::string& wrong :
         std::vector<std::string>{"--folders " + eiche + " 5", "--folders --transfer changed 5",
                                  "--folder " + eiche + " --folders " + linde + " --transfer changed 5",
                                  "--folder " + eiche + " --transfer changed --report x.csv 5"}) {
        EXPECT_EQ(b.run(wrong).status, 2) << wrong;
    }
}

// Three buildings on three lines (their links on COM1, COM2 and COM3, one mapping for the run) with a
// simulator each: one command sends the changed car park of each and nothing else; a fourth, damaged
// folder is reported with exit status 2. Real time: three times the fixed pauses of one small station.
TEST(Installations, OneCommandSendsTheChangedStationsOfThreeBuildingsOverThreeLines) {
    Buildings b;
    std::vector<std::string> folders;
    std::string ports;
    std::vector<std::FILE*> simulators;
    for (int com = 1; com <= 3; ++com) {
        folders.push_back(b.add("Haus" + std::to_string(com), com, {0, 1}));
        const std::string line = b.root.path() + "/COM" + std::to_string(com);
        const std::string command = "timeout -k 5 400 " PNL_BINARY_DIR
                                    "/pnl-station-sim --station 034567 --link " +
                                    line + " --exit-after-close 1 >" + line + ".txt 2>&1";
        simulators.push_back(::popen(command.c_str(), "w"));
        ASSERT_TRUE(simulators.back());
        for (int i = 0; i < 5000 && !b.fs.fileExists(line); ++i)  // the simulator is ready
            ::usleep(1000);
        ports += " --port COM" + std::to_string(com) + "=" + line;
    }
    const std::string damaged = b.add("Kaputt", 1, {});
    ASSERT_TRUE(b.fs.writeFileAtomic(damaged + "/QBXDATA.MDB", "kein SQLite"));
    const std::string kept = b.read(folders[0] + "/PNL00_STAND.TXT") + b.read(folders[0] + "/QBXDATA.MDB");

    const CommandRun run = b.run("--folders " + folders[0] + " " + damaged + " " + folders[1] + " " +
                                 folders[2] + ports + " --transfer changed 5");
    EXPECT_EQ(run.status, 2) << run.output;
    for (int com = 1; com <= 3; ++com) {
        SCOPED_TRACE(com);
        const int status = ::pclose(simulators[static_cast<std::size_t>(com - 1)]);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        const std::string station = b.read(b.root.path() + "/COM" + std::to_string(com) + ".txt");
        EXPECT_THAT(station, HasSubstr("PNL 34567 (Firmware 3.x): 10 Bewohner\n")) << station;
        const std::string house = "Haus" + std::to_string(com);
        EXPECT_THAT(run.output, HasSubstr(house + ", PNL02 Tiefgarage: mit 10 Bewohnern übertragen in "));
        EXPECT_THAT(run.output, Not(HasSubstr(house + ", PNL00")));
        EXPECT_THAT(b.read(folders[static_cast<std::size_t>(com - 1)] + "/PNL02_STAND.TXT"),
                    Not(HasSubstr("unvollständig")));
    }
    EXPECT_THAT(run.output, HasSubstr("Kaputt: nicht gelaufen: "));
    EXPECT_EQ(b.read(folders[0] + "/PNL00_STAND.TXT") + b.read(folders[0] + "/QBXDATA.MDB"), kept);
}

}  // namespace
}  // namespace pnl::test
