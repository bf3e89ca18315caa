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
        const test::CommandRun run = runLogTool(inst.path("log/06122026.log"));
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.output, c.output);
        EXPECT_EQ(runLogTool(inst.path("log/07122026.log")).status, 1);  // another day's file
    }
    inst.writeFile("log/kopie.log", lines[0] + "\r\n");
    EXPECT_EQ(runLogTool(inst.path("log/kopie.log")).status, 2);  // no date in the name
    EXPECT_EQ(runLogTool(inst.path("log/fehlt.log")).status, 2);
}

}  // namespace
}  // namespace pnl
