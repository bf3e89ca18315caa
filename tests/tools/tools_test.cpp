// The station simulator fed with hand-written frames, its Hayes modem on virtual time, and the built programs
// on their command lines, pnl-station-sim over a pseudo-terminal among them; then the sample installation.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/event_log.h"
#include "app/log_reader.h"
#include "app/program.h"
#include "app/startup.h"
#include "platform/database.h"
#include "platform/poll_event_loop.h"
#include "platform/port_discovery.h"
#include "platform/posix_serial.h"
#include "support/installation.h"
#include "support/recording_serial_port.h"
#include "support/shell_command.h"
#include "support/sim_line.h"
#include "support/virtual_event_loop.h"
#include "tools/sample/sample_installation.h"
#include "tools/station_sim/simulator.h"

namespace pnl::sim {
namespace {

using std::chrono::milliseconds;
using ::testing::ElementsAre;
using ::testing::Gt;
using ::testing::HasSubstr;

std::string frame(const std::string& body) {
    return "\x01" + body + "\x04";
}

// Record 1 of 2 for a 3.x station: Müller, Anna, apartment 12, serial 4711, no second serial, code 0.
const std::string kMuellerAnna = frame(")00804D836C6C65722C20") + frame(")0088416E6E6100000000") +
                                 frame(")00900000000000000000") + frame(")00980000000000000000") +
                                 frame(")00A03132000000000012") + frame(")00A86700000000000002") +
                                 frame(")00B00000000000000000");
// Record 2 of 2: Schmidt, apartment 3a, serial 1000 (0003E8), preceded by 1, last, code 1234 (0004D2).
const std::string kSchmidt = frame(")00B85363686D69647400") + frame(")00C00000000000000000") +
                             frame(")00C80000000000000000") + frame(")00D00000000000000000") +
                             frame(")00D83361000000000003") + frame(")00E0E800000000010002") +
                             frame(")00E80004D20000000000");

class StationSim : public ::testing::Test {
  protected:
    void make(std::vector<StationSetup> stations) {
        simulator = std::make_unique<Simulator>(loop, SimulatorSetup{std::move(stations), {}, std::nullopt});
        simulator->setOutput([this](const std::string& bytes) { answers.push_back({loop.now(), bytes}); });
        simulator->setClosedHandler([this](const Directory& d) { closed.push_back(d); });
    }

    test::VirtualEventLoop loop;
    std::unique_ptr<Simulator> simulator;
    std::vector<std::pair<std::int64_t, std::string>> answers;
    std::vector<Directory> closed;
};

TEST_F(StationSim, ATransferDecodesToTheDirectoryInLinkOrderAndOtherStationsFramesReachNobody) {
    make({{123456, Firmware::V3}});
    simulator->receive(frame("(00D43101") + frame(")00804D836C6C65722C20") + frame("*0000"));  // 54321
    simulator->receive(frame("(01E24001") + frame("*0000"));
    EXPECT_EQ(simulator->openedStation(), 123456u);
    loop.advance(10);
    ASSERT_EQ(answers.size(), 1u);  // only the opened station answers
    EXPECT_EQ(answers[0].second, "\x01*01E2400000000000\x04");
    // Record 2 first: the directory follows the links, not the order of writing.
    simulator->receive(kSchmidt);
    // Bytes split anywhere across reads make no difference.
    for (char c : kMuellerAnna)
        simulator->receive(std::string(1, c));
    simulator->receive(frame(")00060100020001000000"));
    EXPECT_TRUE(closed.empty());
    simulator->receive(frame("(01E24080") + frame("*0000"));  // closed: no answer
    EXPECT_FALSE(simulator->openedStation());

    ASSERT_EQ(closed.size(), 1u);
    const Directory& d = closed[0];
    EXPECT_EQ(d.serial, 123456u);
    EXPECT_EQ(d.count, 2);
    EXPECT_TRUE(d.errors.empty()) << d.errors[0];
    EXPECT_EQ(d.records, (std::vector<DirectoryRecord>{{1, "Müller, Anna", "12", 4711, 0, 0, 0, 2},
                                                       {2, "Schmidt", "3a", 1000, 0, 1234, 1, 2}}));
    EXPECT_EQ(simulator->framesOf(123456).size(), 2u + 14u + 1u + 1u);
    EXPECT_TRUE(simulator->malformed().empty());

    // Opening another station deselects ours: its writes no longer land here.
    const Memory before = *simulator->memoryOf(123456);
    simulator->receive(frame("(01E24001") + frame("(00D43101") + frame(")00804D836C6C65722C20") +
                       frame("(00D43180"));
    loop.advance(100);
    EXPECT_EQ(*simulator->memoryOf(123456), before);
    EXPECT_EQ(answers.size(), 1u);
    EXPECT_EQ(closed.size(), 1u);
    EXPECT_EQ(simulator->ignoredFrames(), 7);
    EXPECT_FALSE(simulator->memoryOf(54321));
}

TEST_F(StationSim, TheStationsFirmwareDecidesHowNamesReadBack) {
    make({{12345, Firmware::V27}, {54321, Firmware::V3}});
    // The same name bytes in both stations: 4D 81 6C 6C 65 72, and the special letters of each table.
    const std::string record = frame(")00804D816C6C6572208E") + frame(")0088999A8494E1414200") +
                               frame(")00900000000000000000") + frame(")00980000000000000000") +
                               frame(")00A07E7F8082830000") + frame(")00A80000000000000001") +
                               frame(")00B00000000000000000");
    const std::string header = frame(")00060100010001000000");
    simulator->receive(frame("(00303901") + record + header + frame("(00303980"));
    simulator->receive(frame("(00D43101") + record + header + frame("(00D43180"));
    // The apartment frame above is one byte short: reported, and its bytes never written.
    ASSERT_EQ(simulator->malformed().size(), 2u);
    EXPECT_EQ(simulator->malformed()[0].reason, "Schreibrahmen mit 19 statt 21 Zeichen");

    const auto old = simulator->directoryOf(12345);
    const auto current = simulator->directoryOf(54321);
    ASSERT_TRUE(old && current);
    ASSERT_EQ(old->records.size(), 1u);
    ASSERT_EQ(current->records.size(), 1u);
    EXPECT_EQ(old->records[0].name, "Müller ÄÖÜäößAB");
    // On 3.x, 81 is ä, 8E è and 84 ß; 99 9A 94 E1 mean nothing.
    EXPECT_EQ(current->records[0].name, "Mäller è??ß??AB");
    ASSERT_EQ(current->errors.size(), 2u);  // those four bytes; the apartment never written (FF)
    EXPECT_EQ(current->errors[0], "Datensatz 1 Name: Bytes ohne Zeichen in Firmware 3.x: 99 9A 94 E1");

    // 3.x: 4D 83 6C 6C 65 72 is Müller; Ä and Ö sit where "~" and DEL would be.
    const std::string v3 = frame(")00804D836C6C65727E7F") + frame(")00888081828384858687") +
                           frame(")009088898A8B8C8D8E8F") + frame(")00989091005F00000000") +
                           frame(")00A00000000000000000") + frame(")00A80000000000000001") +
                           frame(")00B00000000000000000");
    simulator->receive(frame("(00D43101") + v3 + header + frame("(00D43180"));
    const auto all = simulator->directoryOf(54321);
    EXPECT_EQ(all->records[0].name, "MüllerÄÖÜäöüßÅØÆåøæàáâèéêç");
    // The "_" after the terminator is reported: the rest of the name must be 0.
    ASSERT_EQ(all->errors.size(), 1u);
    EXPECT_NE(all->errors[0].find("nach dem Ende nicht alles 0"), std::string::npos);
}

TEST_F(StationSim, MalformedFramesAreReportedAndTheNextFrameStillCounts) {
    make({{123456}});
    const std::pair<std::string, std::string> cases[] = {
        {frame("(01e24001"), "Seriennummer nicht in Hexziffern (A-F groß)"},
        {frame("(01E240015"), "Auswahlrahmen mit 10 statt 9 Zeichen"},
        {frame(")0080ZZ836C6C65722C20"), "Daten nicht in Hexziffern (A-F groß)"},
        {frame("+0000"), "unbekanntes Kommandozeichen"},
        {frame("*0001"), "Abfragerahmen ist nicht *0000"},
        {frame("(01E24055"), "unbekannter Code 55"},
        {"\x01(01E2" + frame("(01E24001"), "Rahmen ohne Ende (EOT)"},  // cut off by the next frame
        {frame(")FFFC0000000000000000"), "Adresse über das Speicherende"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        simulator->receive(cases[i].first);
        ASSERT_EQ(simulator->malformed().size(), i + 1) << cases[i].first;
        EXPECT_EQ(simulator->malformed()[i].reason, cases[i].second);
    }
    EXPECT_EQ(simulator->malformed()[6].bytes, "\x01(01E2");
    EXPECT_EQ(simulator->openedStation(), 123456u);
}

TEST_F(StationSim, ABrokenDirectoryIsReportedNotGuessed) {
    make({{123456}});
    // Count 3, but record 2 ends the chain and names the wrong predecessor; record 1's name is unterminated.
    simulator->receive(frame("(01E24001"));
    simulator->receive(frame(")00804141414141414141") + frame(")00884141414141414141") +
                       frame(")00904141414141414141") + frame(")00984141414141414141") +
                       frame(")00A00000000000000000") + frame(")00A80000000000000002") +
                       frame(")00B00000000000000000"));
    simulator->receive(frame(")00B84200000000000000") + frame(")00C00000000000000000") +
                       frame(")00C80000000000000000") + frame(")00D00000000000000000") +
                       frame(")00D80000000000000000") + frame(")00E00000000000050002") +
                       frame(")00E80000000000000000"));
    simulator->receive(frame(")00060100030001000000") + frame("(01E24080"));
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0].records.size(), 2u);
    EXPECT_EQ(closed[0].records[0].name, std::string(32, 'A'));
    EXPECT_EQ(closed[0].errors,
              (std::vector<std::string>{"Datensatz 1 Name ohne abschließendes Nullbyte",
                                        "Datensatz 2: Vorgänger 5 statt 1",
                                        "Datensatz 2 beendet die Kette nach 2 von 3 Datensätzen"}));

    // A station that was opened and closed without any data holds no valid header.
    make({{7}});
    simulator->receive(frame("(00000701") + frame("(00000780"));
    ASSERT_EQ(closed.size(), 2u);
    EXPECT_EQ(closed[1].errors.size(), 2u);  // header FF..., count 65535 beyond 582
    EXPECT_TRUE(closed[1].records.empty());
}

TEST(SimLine, TheModemCallsKnownNumbersWithItsPrefixAndPassesFramesOnlyWhileConnected) {
    test::VirtualEventLoop loop;
    test::RecordingSerialPort port{loop};
    Simulator simulator(loop, {{{12345, Firmware::V3}, {54321, Firmware::V3}},
                               {},
                               ModemSetup{"ATX3DP", {{"0123456", 12345}}, 5000}});
    test::attachSimulator(port, simulator, loop);
    ASSERT_TRUE(port.open());
    std::string received;
    port.setReceiveHandler([&](const std::string& bytes) { received += bytes; });
    struct Step {
        std::string sent;
        int waitMs;
        std::string answer;
        bool carrier;
    };
    const Step steps[] = {
        {"AT&F&D2 S0=0\n\r", 50, "OK\r\n", false},
        {frame("(00303901") + frame("*0000"), 50, "", false},  // no call yet: the frames reach nobody
        {"ATDT 0123456\n\r", 10'000, "OK\r\n", false},  // not the configured prefix: an ordinary command
        {"ATX3DP 0999\n\r", 60'000, "NO CARRIER\r\n", false},
        {"ATX3DP 0123456\n\r", 4990, "", false},
        {"", 100, "CONNECT 9600\r\n", true},
        {frame("(00D43101") + frame("*0000"), 100, "", true},  // 54321 is not on this call
        {frame("(00303901") + frame("*0000"), 100, "\x01*0030390000000000\x04", true},
        {"ATH\n\r", 50, "OK\r\n", false},  // hung up without an escape sequence
        {frame("(00303901"), 50, "", false},
    };
    for (const Step& step : steps) {
        received.clear();
        port.output(step.sent);
        loop.advance(step.waitMs);
        EXPECT_EQ(received, step.answer) << step.sent;
        EXPECT_EQ(port.carrier, step.carrier) << step.sent;
    }
    EXPECT_EQ(simulator.ignoredFrames(), 5);
    EXPECT_EQ(simulator.modemCommands(), (std::vector<std::string>{"AT&F&D2 S0=0", "ATDT 0123456",
                                                                   "ATX3DP 0999", "ATX3DP 0123456", "ATH"}));
    EXPECT_TRUE(simulator.malformed().empty());
}

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

ProgramRun run(const std::string& arguments, const std::string& environment = "") {
    test::TempFolder scratch;
    const std::string errFile = scratch.path() + "/err";
    const test::CommandRun run = test::runShellCommand(environment + " timeout 20 " PNL_BINARY_DIR "/" +
                                                       arguments + " 2>'" + errFile + "' </dev/null");
    std::ostringstream err;
    err << std::ifstream(errFile).rdbuf();
    return {run.status, run.output, err.str()};
}

// Every device the system reports, with its stable path where it has one; a slot chosen in the interface
// window (kept in the user's settings) and one given with --port. No installation folder is needed.
TEST(ProgramOptions, ListPortsNamesEveryDeviceTheSystemReports) {
    test::TempFolder home;
    std::filesystem::create_directories(home.path() + "/pnl-fernwartung");
    std::ofstream(home.path() + "/pnl-fernwartung/schnittstellen")
        << "COM2\t/dev/serial/by-id/usb-ACME_Y_1-if00-port0\tACME Y (1)\n";
    const ProgramRun listed = run("pnl-setup --port COM3=/dev/pts/99 --list-ports",
                                  "HOME=/nonexistent XDG_CONFIG_HOME='" + home.path() + "'");
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_THAT(listed.out, HasSubstr("\nCOM2  USB-Adapter ACME Y (1) – nicht angeschlossen\n"
                                      "      gemerkt: /dev/serial/by-id/usb-ACME_Y_1-if00-port0\n"));
    EXPECT_THAT(listed.out, HasSubstr("\nCOM3  /dev/pts/99 (--port, nur für diesen Lauf)\n"));
    PollEventLoop loop;
    const std::vector<SerialDevice> devices = makeUdevPortDiscovery(loop)->devices();
    EXPECT_THAT(listed.out, HasSubstr("Gefundene Geräte (" + std::to_string(devices.size()) + "):\n"));
    for (const SerialDevice& device : devices) {
        EXPECT_THAT(listed.out, HasSubstr("\n" + device.path + "  "));
        const std::string stable = "stabiler Pfad: " + device.stablePath + "\n";
        EXPECT_TRUE(device.stablePath.empty() || listed.out.find(stable) != std::string::npos) << stable;
    }
}

// The lines of a real run, then the same file altered, cut, reordered and copied by hand.
TEST(LogTool, PrintsARunAndMarksEveryLineThatWasTamperedWith) {
    test::Installation inst;
    ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), nullptr));
    inst.program->userLevel = 3;
    ASSERT_EQ(StartUp(*inst.program, {}), StartResult::Running);
    for (const char* text : {"zwei", "drei", "vier", "fünf"})
        EventLog(*inst.program, text);
    const auto lines = splitLogLines(inst.readFile("log/06122026.log"));
    ASSERT_EQ(lines.size(), 5u);
    std::string altered = lines[1];
    altered[5] = altered[5] == 'Q' ? 'R' : 'Q';  // changed with an editor
    const std::string start = "09:30:00  Setup gestartet - Userlevel 3\n";
    const std::string undecryptable =
        ": nicht entschlüsselbar (verändert, fremd oder aus der Datei eines anderen Tages)\n";
    struct Case {
        std::vector<std::string> lines;
        int status;
        std::string output;
    };
    const Case cases[] = {
        {{lines[0], lines[1]}, 0, start + "09:30:00  zwei\n"},
        {{lines[0], altered, "Klartext eingefügt"},
         1,
         start + "!! Zeile 2" + undecryptable + "!! Zeile 3" + undecryptable},
        {{lines[0], lines[1], lines[3], lines[4]},
         1,
         start +
             "09:30:00  zwei\n!! Zeile 3: nicht prüfbar: die Zeile davor wurde entfernt\n09:30:00  fünf\n"},
        {{lines[0], lines[2], lines[1], lines[3]},
         1,
         start + "!! Zeile 2: vertauscht oder verschoben (gehört hinter Zeile 3) – 09:30:00  drei\n"
                 "!! Zeile 3: vertauscht oder verschoben (gehört hinter Zeile 1) – 09:30:00  zwei\n09:30:00  "
                 "vier\n"},
        {{lines[0], lines[1], lines[1], lines[2]},
         1,
         start + "09:30:00  zwei\n!! Zeile 3: doppelt (wie Zeile 2) – 09:30:00  zwei\n09:30:00  drei\n"},
    };
    for (const Case& c : cases) {
        std::string content;
        for (const auto& line : c.lines)
            content += line + "\r\n";
        inst.writeFile("log/06122026.log", content);
        inst.writeFile("log/07122026.log", content);
        const ProgramRun log = run("pnl-log " + inst.path("log/06122026.log"));
        EXPECT_EQ(log.status, c.status);
        EXPECT_EQ(log.out, c.output);
        EXPECT_EQ(run("pnl-log " + inst.path("log/07122026.log")).status, 1);  // another day's file
    }
    inst.writeFile("log/kopie.log", lines[0] + "\r\n");
    EXPECT_EQ(run("pnl-log " + inst.path("log/kopie.log")).status, 2);  // no date in the name
    EXPECT_EQ(run("pnl-log " + inst.path("log/fehlt.log")).status, 2);
}

// The import does its work; a log line it could not write is told on stderr and in the exit status.
TEST(HeadlessImport, ALogThatCannotBeWrittenIsToldAfterTheWork) {
    test::Installation inst;
    ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), nullptr));
    inst.writeFile("log", "");  // a file where the log folder belongs
    inst.writeFile("neu.csv", "Nachname;Vorname;Wohnung;Seriennummer\r\nNeumann;Nina;Z99;777777\r\n");
    const ProgramRun import =
        run("pnl-setup --folder '" + inst.folder.path() + "' --import '" + inst.path("neu.csv") + "' 5");
    EXPECT_EQ(import.status, 1);
    EXPECT_THAT(import.out, HasSubstr("Importiert: 1 neu, 0 geändert; QBXDATA.MDB ist gesichert."));
    EXPECT_THAT(import.err, HasSubstr("pnl-setup: Protokoll nicht schreibbar: " + inst.path("log/")));
    const auto db = Database::open(inst.path(kDatabaseFile));
    ASSERT_TRUE(db);
    EXPECT_EQ(db->query("SELECT Name FROM BEWOHNER WHERE sernr = 777777")->size(), 1u);
}

TEST(SampleInstallation, WritesTheBaseFormOrTheAssignedFormAndRefusesToOverwrite) {
    test::Installation inst;
    std::string error;
    ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
    auto db = Database::open(inst.path(kDatabaseFile), &error);
    ASSERT_TRUE(db) << error;
    EXPECT_EQ(db->columns("BEWOHNER").size(), 16u);  // the base form, before a first run
    const auto rows = db->query("SELECT AUSLOESUNG FROM BEWOHNER");
    ASSERT_TRUE(rows);
    EXPECT_GE(rows->size(), 40u);
    for (const auto& row : *rows)
        EXPECT_EQ(dbText(row[0]).size(), 8u);

    const std::string settingsBefore = inst.readFile(kSettingsFile);
    EXPECT_FALSE(writeSampleInstallation(inst.folder.path(), &error, true));
    EXPECT_THAT(error, HasSubstr("bereits"));
    EXPECT_EQ(inst.readFile(kSettingsFile), settingsBefore);
    EXPECT_EQ(Database::open(inst.path(kDatabaseFile))->columns("BEWOHNER").size(), 16u);

    // With stations assigned, in a folder still to be created: the 17th column PNL, only the three stations.
    ASSERT_TRUE(writeSampleInstallation(inst.path("anlage"), &error, true)) << error;
    auto assigned = Database::open(inst.path("anlage/QBXDATA.MDB"));
    ASSERT_TRUE(assigned);
    EXPECT_EQ(assigned->columns("BEWOHNER").size(), 17u);
    EXPECT_EQ(assigned->columns("BEWOHNER").back(), "PNL");
    const auto assignments = assigned->query("SELECT PNL FROM BEWOHNER");
    ASSERT_TRUE(assignments);
    int onStation[3] = {0, 0, 0};
    for (const auto& row : *assignments) {
        const std::string pnl = dbText(row[0]);
        ASSERT_EQ(pnl.size(), 64u);
        EXPECT_EQ(pnl.find_first_not_of("01"), std::string::npos);
        EXPECT_EQ(pnl.find('1', 3), std::string::npos);
        for (int k = 0; k < 3; ++k)
            onStation[k] += pnl[k] == '1';
    }
    EXPECT_THAT(onStation, ElementsAre(Gt(5), Gt(5), Gt(2)));
    EXPECT_FALSE(inst.exists("anlage/QBXDATA_SAMPLE.tmp"));
}

TEST(StationSimTool, ProbedAndFilledOverAPseudoTerminal) {
    test::Installation inst;
    const std::string link = inst.path("pnl-line");
    const std::string command =
        "timeout -k 5 30 " PNL_BINARY_DIR "/pnl-station-sim --station 123456 --station 12345:27 --link " +
        link + " --json " + inst.path("stations.json") + " --exit-after-close 2 >" + inst.path("out.txt");
    std::FILE* tool = ::popen(command.c_str(), "w");
    ASSERT_TRUE(tool);
    for (int i = 0; i < 5000 && !inst.exists("pnl-line"); ++i)  // the tool is ready
        ::usleep(1000);

    PortMap map;
    map.map(1, link);
    PosixSerialOptions options;
    options.lockFolder = inst.folder.path();
    PollEventLoop loop;
    auto port = makePosixSerialPort(loop, map, options);
    std::string received;
    port->setReceiveHandler([&](const std::string& bytes) { received += bytes; });
    port->setCommPort(1);
    ASSERT_TRUE(port->setSettings("9600,N,8,1"));
    std::string error;
    ASSERT_TRUE(port->open(&error)) << error;

    // The probe's exchange.
    ASSERT_TRUE(port->output(frame("(01E24001") + frame("*0000")));
    bool over = false;
    loop.startTimer(milliseconds(300), false, [&] { over = true; });
    loop.processEventsUntil([&] { return over; });
    EXPECT_EQ(received, "\x01*01E2400000000000\x04");
    ASSERT_TRUE(port->output(frame("(01E24000")));
    ASSERT_TRUE(port->output(frame("+0000")));  // no frame of the station: reported

    // One resident into each station; the older one reads 81 as ü.
    const std::string header = frame(")00060100010001000000");
    const std::string tail = frame(")00880000000000000000") + frame(")00900000000000000000") +
                             frame(")00980000000000000000") + frame(")00A03132000000000012") +
                             frame(")00A86700000000000001") + frame(")00B00000000000000000");
    ASSERT_TRUE(port->output(frame("(01E24001") + frame(")00804D836C6C65720000") + tail + header +
                             frame("(01E24080")));
    ASSERT_TRUE(port->output(frame("(00303901") + frame(")00804D816C6C65720000") + tail + header +
                             frame("(00303980")));
    const int status = ::pclose(tool);  // the tool exits after the second close
    port->close();
    const std::string output = inst.readFile("out.txt");
    EXPECT_EQ(output.rfind("/dev/pts/", 0), 0u) << output;
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << output;  // the malformed frames below were reported
    EXPECT_THAT(output, HasSubstr("Fehlerhafter Rahmen: <01>+0000<04> (unbekanntes Kommandozeichen)\n"));
    EXPECT_THAT(output,
                HasSubstr("PNL 123456 (Firmware 3.x): 1 Bewohner\n    1 Müller|12|4711|0|0  (0 -> 1)\n"));
    EXPECT_THAT(output,
                HasSubstr("PNL 12345 (Firmware 2.7X): 1 Bewohner\n    1 Müller|12|4711|0|0  (0 -> 1)\n"));

    const std::string json = inst.readFile("stations.json");
    EXPECT_THAT(json, HasSubstr("\"serial\": 12345, \"firmware\": \"2.7X\""));
    EXPECT_THAT(json, HasSubstr("\"serial\": 123456, \"firmware\": \"3.x\""));
    EXPECT_THAT(json, HasSubstr("{\"name\": \"Müller\", \"apartment\": \"12\", \"serial1\": 4711, "
                                "\"serial2\": 0, \"code\": 0, \"prev\": 0, \"next\": 1}"));
    EXPECT_FALSE(std::filesystem::is_symlink(link));  // removed at the end, not left dangling
}

}  // namespace
}  // namespace pnl::sim
