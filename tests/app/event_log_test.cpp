#include <gtest/gtest.h>

#include <filesystem>

#include "app/event_log.h"
#include "app/instance_lock.h"
#include "app/log_reader.h"
#include "app/startup.h"
#include "platform/cipher.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"

namespace pnl {
namespace {

std::vector<std::string> plainLines(const std::string& content, const std::string& date) {
    std::vector<std::string> lines;
    for (const auto& entry : readLog(content, date))
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
    EXPECT_EQ(plainLines(first, "01032026"),
              (std::vector<std::string>{"23:59:58  Schnittstelle PNLXX Abgleich geaendert",
                                        "23:59:59  Bewohnerdatensatz: Müller, Anna: 12 wurde geaendert."}));
    EXPECT_EQ(first.find("geaendert"), std::string::npos);  // nothing readable in the file
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 2);
    EXPECT_EQ(first.substr(first.size() - 2), "\r\n");
    EXPECT_EQ(plainLines(inst.readFile("log/02032026.log"), "02032026"),
              (std::vector<std::string>{"00:00:00  Setupprogramm beendet"}));
}

// The problems the reader reports for a file of five lines edited by hand; pnl-log's tests check a removed,
// a swapped, a duplicated and an altered line.
TEST(EventLog, EveryLineIsCheckedAtItsPlace) {
    test::Installation inst;
    for (const char* text : {"eins", "zwei", "drei", "vier", "fünf"})
        EventLog(*inst.program, text);
    const std::vector<std::string> lines = splitLogLines(inst.readFile("log/06122026.log"));
    ASSERT_EQ(lines.size(), 5u);
    // "line: problem" for each line with a problem.
    auto problems = [&](const std::vector<int>& order, const std::string& date = "06122026") {
        std::string content;
        for (int i : order)
            content += lines[i - 1] + "\r\n";
        std::vector<std::string> found;
        for (const auto& entry : readLog(content, date))
            if (!entry.problem.empty())
                found.push_back(std::to_string(entry.lineNumber) + ": " + entry.problem);
        return found;
    };
    using Lines = std::vector<std::string>;
    EXPECT_EQ(problems({1, 2, 3, 4, 5}), Lines{});
    EXPECT_EQ(problems({2, 3, 4, 5}), Lines{"1: nicht prüfbar: die Zeile davor wurde entfernt"});
    EXPECT_EQ(problems({1, 3, 4, 2, 5}), (Lines{"2: vertauscht oder verschoben (gehört hinter Zeile 4)",
                                                "4: vertauscht oder verschoben (gehört hinter Zeile 1)"}));
    EXPECT_EQ(problems({1, 2, 3, 4, 5}, "07122026").size(), 5u);  // another day's file
}

TEST(EventLog, LinesOfTheEarlierFormStillReadAndTheNewOnesChainOnThem) {
    test::Installation inst;
    std::filesystem::create_directory(inst.path("log"));
    inst.writeFile("log/06122026.log", cEncrypt("08:00:00  alt eins", kCipherKey) + "\r\n" +
                                           cEncrypt("08:01:00  alt zwei", kCipherKey) + "\r\n");
    EventLog(*inst.program, "neu");
    const auto entries = readLog(inst.readFile("log/06122026.log"), "06122026");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[0].unbound && entries[1].unbound);
    EXPECT_EQ(entries[1].text, "08:01:00  alt zwei");
    EXPECT_FALSE(entries[2].unbound);
    EXPECT_EQ(entries[2].text, "09:30:00  neu");
    for (const auto& entry : entries)
        EXPECT_EQ(entry.problem, "");
}

TEST(InstanceLock, SecondRunInTheSameFolderIsRefusedAndTouchesNothing) {
    test::Installation first, other;
    ASSERT_TRUE(writeSampleInstallation(first.folder.path(), nullptr));
    auto held = lockInstallation(*first.program);
    ASSERT_TRUE(held && held->held());
    EXPECT_TRUE(first.dialogs.shown.empty());

    Program second(Platform{other.fs, other.loop, other.dialogs, other.serial, other.ports},
                   first.folder.path());
    EXPECT_FALSE(lockInstallation(second));
    ASSERT_EQ(other.dialogs.shown.size(), 1u);
    EXPECT_NE(other.dialogs.last().text.find("läuft bereits"), std::string::npos);
    EXPECT_NE(other.dialogs.last().text.find(first.folder.path()), std::string::npos);
    EXPECT_FALSE(first.exists("log"));
    EXPECT_FALSE(first.exists("QBXDATA_COPY.MDB"));
    held.reset();  // once the first run has ended, the folder is free again
    auto next = lockInstallation(second);
    EXPECT_TRUE(next && next->held());
}

}  // namespace
}  // namespace pnl
