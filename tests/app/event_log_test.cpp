#include <gtest/gtest.h>

#include "app/event_log.h"
#include "app/instance_lock.h"
#include "app/log_reader.h"
#include "app/startup.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"

namespace pnl {
namespace {

std::vector<std::string> plainLines(const std::string& content) {
    std::vector<std::string> lines;
    for (const auto& entry : readLog(content))
        lines.push_back(entry.text.value_or("!!"));
    return lines;
}

TEST(EventLog, DailyFilesOfEncryptedCrLfLines) {
    test::Installation inst;
    inst.loop.setStart(DateTime{2026, 3, 1, 23, 59, 58});
    EventLog(*inst.program, "Schnittstelle PNLXX Abgleich geaendert");  // the log folder is made on demand
    inst.loop.advance(1000);
    EventLog(*inst.program, "Bewohnerdatensatz: Müller, Anna: 12 wurde geaendert.");
    inst.loop.advance(1000);
    EventLog(*inst.program, "Setupprogramm beendet");  // the next day

    const std::string first = inst.readFile("log/01032026.log");
    EXPECT_EQ(plainLines(first),
              (std::vector<std::string>{"23:59:58  Schnittstelle PNLXX Abgleich geaendert",
                                        "23:59:59  Bewohnerdatensatz: Müller, Anna: 12 wurde geaendert."}));
    EXPECT_EQ(first.find("geaendert"), std::string::npos);  // nothing readable in the file
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 2);
    EXPECT_EQ(first.substr(first.size() - 2), "\r\n");
    EXPECT_EQ(plainLines(inst.readFile("log/02032026.log")),
              (std::vector<std::string>{"00:00:00  Setupprogramm beendet"}));
}

TEST(EventLog, TamperedLineIsMarked) {
    test::Installation inst;
    EventLog(*inst.program, "eins");
    EventLog(*inst.program, "zwei");
    std::string content = inst.readFile("log/06122026.log");
    content[3] = content[3] == 'x' ? 'y' : 'x';
    const auto entries = readLog(content + "fremde Zeile");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_FALSE(entries[0].text);
    EXPECT_EQ(entries[1].text, "09:30:00  zwei");
    EXPECT_EQ(entries[2].lineNumber, 3);
    EXPECT_FALSE(entries[2].text);
}

TEST(InstanceLock, SecondRunInTheSameFolderIsRefusedAndTouchesNothing) {
    test::Installation first;
    ASSERT_TRUE(writeSampleInstallation(first.folder.path(), nullptr));
    auto held = lockInstallation(*first.program);
    ASSERT_TRUE(held);
    EXPECT_TRUE(held->held());
    EXPECT_TRUE(first.dialogs.shown.empty());

    // A second program on the same folder: another run of the program.
    test::Installation other;
    Program second(Platform{other.fs, other.loop, other.dialogs, other.serial, other.ports},
                   first.folder.path());
    EXPECT_FALSE(lockInstallation(second));
    ASSERT_EQ(other.dialogs.shown.size(), 1u);
    EXPECT_NE(other.dialogs.last().text.find("läuft bereits"), std::string::npos);
    EXPECT_NE(other.dialogs.last().text.find(first.folder.path()), std::string::npos);
    EXPECT_FALSE(first.exists("log"));
    EXPECT_FALSE(first.exists("QBXDATA_COPY.MDB"));

    // Once the first run has ended, the folder is free again.
    held.reset();
    auto next = lockInstallation(second);
    ASSERT_TRUE(next);
    EXPECT_TRUE(next->held());
}

}  // namespace
}  // namespace pnl
