#include "cli/resident_file_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/instance_lock.h"
#include "app/program.h"
#include "platform/database.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"

namespace pnl::test {
namespace {

struct ResidentFileCommandTest : ::testing::Test {
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), &error, SampleOptions{true, true})) << error;
        database = inst.readFile(kDatabaseFile);
    }

    CodePrompt noCode() {
        return [](const std::string&) { return std::optional<std::string>(); };
    }
    int exportTo(const std::string& name, const std::string& level = "1") {
        return RunExportCommand(*inst.program, inst.path(name), level, out, noCode());
    }
    int import(const std::string& name, bool dryRun = false, const std::string& level = "5") {
        return RunImportCommand(*inst.program, inst.path(name), dryRun, level, out, noCode());
    }
    // Every row of BEWOHNER in the installation's own database.
    std::string residents() {
        auto db = Database::open(inst.path(kDatabaseFile));
        std::string text;
        const auto rows = db->query("SELECT * FROM BEWOHNER ORDER BY rowid");
        for (const auto& row : *rows) {
            for (const auto& value : row)
                text += dbText(value) + "|";
            text += "\n";
        }
        return text;
    }

    Installation inst;
    std::ostringstream out;
    std::string database;
};

TEST_F(ResidentFileCommandTest, ExportThenImportCommitsAnIdenticalTable) {
    const std::string before = residents();
    ASSERT_EQ(exportTo("bewohner.csv"), kFileCommandDone) << out.str();
    EXPECT_NE(out.str().find("Exportiert: 41 Bewohner"), std::string::npos) << out.str();
    EXPECT_TRUE(inst.readFile("bewohner.csv").starts_with("\xEF\xBB\xBFID;Name;Vorname;"));
    ASSERT_EQ(import("bewohner.csv"), kFileCommandDone) << out.str();
    EXPECT_NE(out.str().find("0 neu, 0 geändert, 41 unverändert, 0 Fehler."), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Nichts zu ändern"), std::string::npos) << out.str();
    EXPECT_EQ(inst.readFile(kDatabaseFile), database);
    // A changed row commits the whole table again: every other row stays as it was.
    const std::string csv = inst.readFile("bewohner.csv");
    const std::size_t anna = csv.find(";Anna;");
    ASSERT_NE(anna, std::string::npos);
    inst.writeFile("bewohner.csv", csv.substr(0, anna) + ";Anne;" + csv.substr(anna + 6));
    ASSERT_EQ(import("bewohner.csv"), kFileCommandDone) << out.str();
    EXPECT_NE(out.str().find("1 geändert, 40 unverändert"), std::string::npos) << out.str();
    std::string expected = before;
    expected.replace(expected.find("|Anna|"), 6, "|Anne|");
    EXPECT_EQ(residents(), expected);
}

TEST_F(ResidentFileCommandTest, ImportPreviewsWithDryRunAndCommitsWithout) {
    inst.writeFile("neu.csv", "Nachname;Vorname;Wohnung;Seriennummer\r\nNeumann;Nina;Z99;777777\r\n");
    ASSERT_EQ(import("neu.csv", true), kFileCommandDone) << out.str();
    EXPECT_NE(out.str().find("Zeile 2: neu: Neumann, Nina (Wohnung Z99, Seriennr. 777777)"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(inst.readFile(kDatabaseFile), database);

    ASSERT_EQ(import("neu.csv"), kFileCommandDone) << out.str();
    EXPECT_NE(residents().find("Neumann|Nina|Z99|777777|,,000000|0|"), std::string::npos);
}

TEST_F(ResidentFileCommandTest, BadFilesAndBlockedRunsChangeNothing) {
    inst.writeFile("fehler.csv", "Name;Wohnung;Seriennummer\r\nGut;A1;5\r\nSchlecht;A2;1234567\r\n");
    EXPECT_EQ(import("fehler.csv"), kFileCommandBadFile);
    EXPECT_NE(out.str().find("Zeile 3: Fehler: Die Seriennummer 1"), std::string::npos) << out.str();
    EXPECT_EQ(import("fehlt.csv"), kFileCommandCouldNotRun);
    inst.writeFile("gut.csv", "Name;Wohnung;Seriennummer\r\nGut;A1;5\r\n");
    EXPECT_EQ(import("gut.csv", false, "1"), kFileCommandCouldNotRun);  // level 1 is of kind "B"
    FileLock running;
    ASSERT_EQ(running.tryLock(inst.path(kLockFile), "4242"), FileLock::Result::Locked);
    EXPECT_EQ(import("gut.csv"), kFileCommandCouldNotRun);
    EXPECT_EQ(exportTo("x.csv"), kFileCommandCouldNotRun);
    EXPECT_EQ(inst.readFile(kDatabaseFile), database);
}

}  // namespace
}  // namespace pnl::test
