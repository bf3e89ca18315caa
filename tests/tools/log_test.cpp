#include <gtest/gtest.h>

#include "app/event_log.h"
#include "app/log_reader.h"
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
    EXPECT_EQ(
        run.output,
        "09:30:00  eins\n"
        "!! Zeile 2: nicht entschlüsselbar (verändert, fremd oder aus der Datei eines anderen Tages)\n"
        "!! Zeile 3: nicht entschlüsselbar (verändert, fremd oder aus der Datei eines anderen Tages)\n");

    EXPECT_EQ(runLogTool(inst.path("log/fehlt.log")).status, 2);
}

TEST(LogTool, ReportsRemovedSwappedAndDuplicatedLines) {
    test::Installation inst;
    for (const char* text : {"eins", "zwei", "drei", "vier", "fünf"})
        EventLog(*inst.program, text);
    const auto lines = splitLogLines(inst.readFile("log/06122026.log"));
    struct Case {
        std::vector<int> order;
        std::string output;
    };
    const Case cases[] = {
        {{1, 2, 4, 5},
         "09:30:00  eins\n09:30:00  zwei\n!! Zeile 3: nicht prüfbar: die Zeile davor wurde entfernt\n"
         "09:30:00  fünf\n"},
        {{1, 3, 2, 4, 5},
         "09:30:00  eins\n!! Zeile 2: vertauscht oder verschoben (gehört hinter Zeile 3) – 09:30:00  drei\n"
         "!! Zeile 3: vertauscht oder verschoben (gehört hinter Zeile 1) – 09:30:00  zwei\n09:30:00  vier\n"
         "09:30:00  fünf\n"},
        {{1, 2, 2, 3, 4, 5},
         "09:30:00  eins\n09:30:00  zwei\n!! Zeile 3: doppelt (wie Zeile 2) – 09:30:00  zwei\n09:30:00  "
         "drei\n"
         "09:30:00  vier\n09:30:00  fünf\n"},
    };
    for (const Case& c : cases) {
        std::string content;
        for (int i : c.order)
            content += lines[i - 1] + "\r\n";
        inst.writeFile("log/07122026.log", content);
        inst.writeFile("log/06122026.log", content);
        const test::CommandRun run = runLogTool(inst.path("log/06122026.log"));
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.output, c.output);
        EXPECT_EQ(runLogTool(inst.path("log/07122026.log")).status, 1);  // another day's file
    }
    inst.writeFile("log/kopie.log", lines[0] + "\r\n");
    EXPECT_EQ(runLogTool(inst.path("log/kopie.log")).status, 2);  // no date in the name
}

}  // namespace
}  // namespace pnl
