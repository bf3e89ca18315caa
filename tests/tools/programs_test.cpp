// The built programs on their command lines (--help, --version, a wrong option, headless commands without a
// folder, pnl-log on a day's log, pnl-station-sim over a pseudo-terminal) and the sample installation.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/event_log.h"
#include "app/log_reader.h"
#include "app/program.h"
#include "app/startup.h"
#include "platform/poll_event_loop.h"
#include "platform/posix_serial.h"
#include "platform/version.h"
#include "support/installation.h"
#include "support/shell_command.h"
#include "tools/sample/sample_installation.h"

namespace pnl {
namespace {

using std::chrono::milliseconds;
using ::testing::HasSubstr;

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

TEST(ProgramOptions, EveryProgramAnswersHelpAndVersionAndRefusesAWrongOption) {
    for (const std::string program : {"pnl-setup", "pnl-station-sim", "pnl-log", "pnl-sample"}) {
        SCOPED_TRACE(program);
        const ProgramRun help = run(program + " --help");
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind("Aufruf: " + program, 0), 0u) << help.out;
        EXPECT_THAT(help.out, HasSubstr("\nRückgabe"));
        EXPECT_THAT(help.out, HasSubstr("--version"));

        const ProgramRun version = run(program + " --version");
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.out, versionLine(program) + "\n");

        const ProgramRun wrong = run(program + " --unbekannt");
        EXPECT_EQ(wrong.status, 2);
        EXPECT_EQ(wrong.out, "");
        EXPECT_THAT(wrong.err, HasSubstr("Aufruf: " + program));
    }
    const ProgramRun station = run("pnl-station-sim --station 12x");
    EXPECT_EQ(station.status, 2);
    EXPECT_EQ(station.err.rfind("Ungültige Station \"12x\"", 0), 0u) << station.err;
}

TEST(ProgramOptions, AHeadlessCommandWithoutAFolderSaysWhereItLookedAndNeverAsks) {
    test::TempFolder home;
    const std::string environment = "HOME='" + home.path() + "' XDG_CONFIG_HOME=";
    for (const std::string command : {"--probe 0 5", "--transfer all"}) {
        const ProgramRun headless = run("pnl-setup " + command, environment);
        EXPECT_EQ(headless.status, 2);
        EXPECT_EQ(headless.out, "");
        EXPECT_THAT(headless.err, HasSubstr("keine ANLAGE99.INI in " PNL_BINARY_DIR));
    }
}

// The lines of a real run, then the same file altered, cut, reordered and copied by hand.
TEST(LogTool, PrintsARunAndMarksEveryLineThatWasTamperedWith) {
    test::Installation inst;
    ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), nullptr));
    inst.program->UserLevel = 3;
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
    EXPECT_GT(onStation[0], 5);
    EXPECT_GT(onStation[1], 5);
    EXPECT_GT(onStation[2], 2);
    EXPECT_FALSE(inst.exists("anlage/QBXDATA_SAMPLE.tmp"));
}

std::string frame(const std::string& body) {
    return "\x01" + body + "\x04";
}

std::string readAll(std::FILE* stream) {
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0)
        text.append(buffer, n);
    return text;
}

void pause(PollEventLoop& loop, int ms) {
    bool over = false;
    loop.startTimer(milliseconds(ms), false, [&] { over = true; });
    loop.processEventsUntil([&] { return over; });
}

TEST(StationSimTool, ProbedAndFilledOverAPseudoTerminal) {
    test::TempFolder folder;
    const std::string link = folder.path() + "/pnl-line";
    const std::string json = folder.path() + "/stations.json";
    const std::string command = "timeout -k 5 30 " PNL_BINARY_DIR
                                "/pnl-station-sim --station 123456 --station 12345:27 "
                                "--link " +
                                link + " --json " + json + " --exit-after-close 2";
    std::FILE* tool = ::popen(command.c_str(), "r");
    ASSERT_TRUE(tool);
    char first[256] = {};
    ASSERT_TRUE(std::fgets(first, sizeof first, tool));
    EXPECT_EQ(std::string(first).rfind("/dev/pts/", 0), 0u) << first;

    PortMap map;
    map.map(1, link);
    PosixSerialOptions options;
    options.lockFolder = folder.path();
    PollEventLoop loop;
    auto port = makePosixSerialPort(loop, map, options);
    std::string received;
    port->setReceiveHandler([&](const std::string& bytes) { received += bytes; });
    port->setCommPort(1);
    ASSERT_TRUE(port->setSettings("9600,N,8,1"));
    std::string error;
    ASSERT_TRUE(port->open(&error)) << error;

    // The probe's exchange.
    ASSERT_TRUE(port->output(frame("(01E24001")));
    pause(loop, 100);
    received.clear();
    ASSERT_TRUE(port->output(frame("*0000")));
    pause(loop, 300);
    EXPECT_EQ(received.size(), 19u);
    EXPECT_EQ(received.substr(0, 2), "\x01*");
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
    const std::string output = readAll(tool);  // ends when the tool has exited after the second close
    port->close();
    const int status = ::pclose(tool);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << output;  // the malformed frames below were reported
    EXPECT_THAT(output, HasSubstr("Fehlerhafter Rahmen: <01>+0000<04> (unbekanntes Kommandozeichen)\n"));
    EXPECT_THAT(output,
                HasSubstr("PNL 123456 (Firmware 3.x): 1 Bewohner\n    1 Müller|12|4711|0|0  (0 -> 1)\n"));
    EXPECT_THAT(output,
                HasSubstr("PNL 12345 (Firmware 2.7X): 1 Bewohner\n    1 Müller|12|4711|0|0  (0 -> 1)\n"));

    std::ostringstream content;
    content << std::ifstream(json).rdbuf();
    EXPECT_THAT(content.str(), HasSubstr("\"serial\": 12345, \"firmware\": \"2.7X\""));
    EXPECT_THAT(content.str(), HasSubstr("\"serial\": 123456, \"firmware\": \"3.x\""));
    EXPECT_THAT(content.str(), HasSubstr("{\"name\": \"Müller\", \"apartment\": \"12\", \"serial1\": 4711, "
                                         "\"serial2\": 0, \"code\": 0, \"prev\": 0, \"next\": 1}"));
    EXPECT_FALSE(std::ifstream(link).good());  // the link is removed at the end
}

}  // namespace
}  // namespace pnl
