// The four built programs on their command lines: --help, --version, a wrong option, and pnl-setup's headless
// commands without an installation folder.

#include <gtest/gtest.h>
#include <fstream>
#include <sstream>

#include "platform/version.h"
#include "support/installation.h"
#include "support/shell_command.h"

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
        EXPECT_NE(headless.err.find(home.path() + "/.config/pnl-fernwartung"), std::string::npos);
        EXPECT_NE(headless.err.find("--folder ORDNER"), std::string::npos);
    }
}

}  // namespace
}  // namespace pnl
