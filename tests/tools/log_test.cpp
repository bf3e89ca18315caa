#include <gtest/gtest.h>

#include "app/event_log.h"
#include "app/startup.h"
#include "support/installation.h"
#include "support/shell_command.h"
#include "tools/sample/sample_installation.h"

namespace pnl {
namespace {

test::CommandRun runLogTool(const std::string& file) {
    return test::runShellCommand(std::string(PNL_BINARY_DIR) + "/pnl-log '" + file + "' 2>&1");
}

TEST(LogTool, PrintsTheStartLineOfARealRun) {
    test::Installation inst;
    ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), nullptr));
    inst.program->UserLevel = 3;
    ASSERT_EQ(StartUp(*inst.program, {}), StartResult::Running);
    EventLog(*inst.program, "Schnittstelle PNLXX Abgleich geaendert");

    const test::CommandRun run = runLogTool(inst.path("log/06122026.log"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "09:30:00  Setup gestartet - Userlevel 3\n"
              "09:30:00  Schnittstelle PNLXX Abgleich geaendert\n");
}

TEST(LogTool, MarksLinesThatDoNotDecryptAndFails) {
    test::Installation inst;
    EventLog(*inst.program, "eins");
    EventLog(*inst.program, "zwei");
    std::string content = inst.readFile("log/06122026.log");
    const auto second = content.find("\r\n") + 2;
    content[second + 5] = content[second + 5] == 'Q' ? 'R' : 'Q';  // altered with an editor
    inst.writeFile("log/06122026.log", content + "Klartext eingefügt\r\n");

    const test::CommandRun run = runLogTool(inst.path("log/06122026.log"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output,
              "09:30:00  eins\n"
              "!! Zeile 2 nicht entschlüsselbar\n"
              "!! Zeile 3 nicht entschlüsselbar\n");

    EXPECT_EQ(runLogTool(inst.path("log/fehlt.log")).status, 2);
}

}  // namespace
}  // namespace pnl
