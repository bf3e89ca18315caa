// The four built programs on their command lines: --help, --version, a wrong option, pnl-setup's headless
// commands without an installation folder, and pnl-log on a day's log.

#include <gtest/gtest.h>
#include <fstream>
#include <sstream>

#include "app/event_log.h"
#include "app/log_reader.h"
#include "app/startup.h"
#include "platform/version.h"
#include "support/installation.h"
#include "support/shell_command.h"
#include "tools/sample/sample_installation.h"

namespace pnl {
namespace {

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
        EXPECT_NE(help.out.find("\nRückgabe"), std::string::npos) << help.out;
        EXPECT_NE(help.out.find("--version"), std::string::npos);

        const ProgramRun version = run(program + " --version");
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.out, versionLine(program) + "\n");

        const ProgramRun wrong = run(program + " --unbekannt");
        EXPECT_EQ(wrong.status, 2);
        EXPECT_EQ(wrong.out, "");
        EXPECT_NE(wrong.err.find("Aufruf: " + program), std::string::npos) << wrong.err;
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
        EXPECT_NE(headless.err.find("keine ANLAGE99.INI in " PNL_BINARY_DIR), std::string::npos)
            << headless.err;
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

}  // namespace
}  // namespace pnl
