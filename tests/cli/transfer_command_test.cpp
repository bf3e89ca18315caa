#include "cli/transfer_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/instance_lock.h"
#include "stations/link_fixture.h"
#include "support/sim_line.h"
#include "tools/sample/sample_installation.h"
#include "tools/station_sim/simulator.h"

namespace pnl::test {
namespace {

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename());
    return names;
}

struct TransferCommandTest : ::testing::Test {
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(writeSampleInstallation(f.inst.folder.path(), &error, SampleOptions{true, true}))
            << error;
        database = f.inst.readFile(kDatabaseFile);
        settings = f.inst.readFile(kSettingsFile);
        before = filesIn(f.inst.folder.path());
    }

    int run(const std::string& list, const std::string& level = "5") {
        return RunTransferCommand(f.program(), list, level, out, [this](const std::string& prompt) {
            prompts.push_back(prompt);
            if (codes.empty())
                return std::optional<std::string>();
            std::string code = codes.front();
            codes.erase(codes.begin());
            return std::optional<std::string>(code);
        });
    }

    void attach(std::vector<sim::StationSetup> stations) {
        sim::SimulatorSetup setup;
        setup.stations = std::move(stations);
        simulator = std::make_unique<sim::Simulator>(f.inst.loop, setup);
        attachSimulator(f.inst.serial, *simulator, f.inst.loop);
    }

    // Nothing but the working copies (and the run's lock file) may have appeared; the originals are
    // untouched.
    void expectOnlyWorkingCopiesWritten() {
        EXPECT_EQ(f.inst.readFile(kDatabaseFile), database);
        EXPECT_EQ(f.inst.readFile(kSettingsFile), settings);
        std::set<std::string> allowed = before;
        allowed.insert({kDatabaseCopy, kSettingsCopy, kLockFile});
        for (const auto& name : filesIn(f.inst.folder.path()))
            EXPECT_TRUE(allowed.count(name)) << name;
    }

    LinkFixture f;
    std::ostringstream out;
    std::vector<std::string> codes, prompts;
    std::unique_ptr<sim::Simulator> simulator;
    std::string database, settings;
    std::set<std::string> before;
};

TEST_F(TransferCommandTest, SendsTheChosenStationAndReportsProgress) {
    attach({{12345, sim::Firmware::V3}, {23456, sim::Firmware::V27}});
    EXPECT_EQ(run(" 0 "), kTransferAllSent) << out.str();

    ASSERT_TRUE(simulator->directoryOf(12345));
    EXPECT_EQ(simulator->directoryOf(12345)->count, 21);
    EXPECT_FALSE(simulator->directoryOf(23456));
    const std::string text = out.str();
    EXPECT_NE(text.find("COM1 geöffnet, Wartezeit 22 s."), std::string::npos) << text;
    EXPECT_NE(text.find("PNL00 \"Haupteingang\": 21 Bewohner, Restzeit 0:18"), std::string::npos) << text;
    for (int tenth = 1; tenth <= 10; ++tenth)
        EXPECT_NE(text.find("\": " + std::to_string(tenth * 10) + " % ("), std::string::npos) << tenth;
    EXPECT_NE(text.find("PNL00 \"Haupteingang\": 100 % (21 von 21), Restzeit 0:06"), std::string::npos)
        << text;
    EXPECT_NE(text.find("PNL00 \"Haupteingang\": übertragen."), std::string::npos);
    EXPECT_NE(text.find("1 von 1 PNL übertragen."), std::string::npos);
    EXPECT_TRUE(prompts.empty());
    EXPECT_FALSE(f.inst.serial.isOpen());
    expectOnlyWorkingCopiesWritten();
}

TEST_F(TransferCommandTest, AllSendsEveryLabelledStation) {
    attach({{12345, sim::Firmware::V3}, {23456, sim::Firmware::V27}, {34567, sim::Firmware::V3}});
    codes = {"999999", "333333"};  // one wrong try, then level 3
    EXPECT_EQ(run("all", ""), kTransferAllSent) << out.str();
    EXPECT_EQ(prompts.size(), 2u);
    EXPECT_EQ(simulator->directories().size(), 3u);
    EXPECT_NE(out.str().find("3 von 3 PNL übertragen."), std::string::npos);
}

TEST_F(TransferCommandTest, BadInputStartsNothing) {
    EXPECT_EQ(run("0,x"), kTransferCouldNotRun);
    EXPECT_NE(out.str().find("\"x\" ist keine PNL Nummer (0 bis 63). Kein Transfer möglich!"),
              std::string::npos);
    EXPECT_EQ(run("64"), kTransferCouldNotRun);
    EXPECT_EQ(run(""), kTransferCouldNotRun);
    EXPECT_EQ(filesIn(f.inst.folder.path()), before);  // not even working copies

    EXPECT_EQ(run("5"), kTransferCouldNotRun);
    EXPECT_NE(out.str().find("Die PNL PNL05 ist nicht angelegt."), std::string::npos);

    codes = {"1", "2", "3", "4"};
    EXPECT_EQ(run("0", ""), kTransferCouldNotRun);
    EXPECT_EQ(prompts.size(), 3u);
    EXPECT_NE(out.str().find("Kein gültiger Zugangscode."), std::string::npos);

    f.inst.serial.failOpen = true;
    EXPECT_EQ(run("0"), kTransferCouldNotRun);
    EXPECT_NE(out.str().find("Die serielle Schnittstelle COM1 kann nicht geöffnet werden!"),
              std::string::npos);
    EXPECT_TRUE(f.inst.serial.sent.empty());
    expectOnlyWorkingCopiesWritten();
}

// The window's start-up checks of the database: what the window calls damaged ends the run with that text,
// and a table without the station assignment sends nothing (it would empty every station).
TEST_F(TransferCommandTest, ADatabaseTheWindowRefusesSendsNothing) {
    std::string damagedPage = database;
    damagedPage.replace(4096, 200, std::string(200, '\xFF'));  // the table's first page
    const std::vector<std::pair<std::string, std::string>> cases{
        {damagedPage, "Datenbank QBXDATA.MDB defekt!\nDie Datei ist beschädigt."},
        {"CREATE TABLE BEWOHNER (ID INTEGER PRIMARY KEY, Name TEXT, Vorname TEXT)",
         "Datenbank QBXDATA.MDB defekt!\nDie Tabelle hat nicht den erwarteten Aufbau."},
        {"CREATE TABLE BEWOHNER (ID INTEGER PRIMARY KEY, Name TEXT, Vorname TEXT, Wnr TEXT, sernr INTEGER, "
         "AUSLOESUNG TEXT, code INTEGER)",
         "Die Tabelle BEWOHNER hat keine Spalte PNL: kein Bewohner ist einer PNL zugeordnet, es wird nichts "
         "gesendet."}};
    for (const auto& [content, message] : cases) {
        std::filesystem::remove(f.inst.path(kDatabaseFile));
        if (content.rfind("CREATE", 0) == 0)
            ASSERT_TRUE(Database::create(f.inst.path(kDatabaseFile))->exec(content));
        else
            f.inst.writeFile(kDatabaseFile, content);
        out.str("");
        EXPECT_EQ(run("0"), kTransferCouldNotRun) << message;
        EXPECT_NE(out.str().find(message), std::string::npos) << out.str();
        EXPECT_EQ(out.str().find("übertragen"), std::string::npos) << out.str();
        EXPECT_TRUE(f.inst.serial.calls.empty());
    }
}

TEST_F(TransferCommandTest, RefusedWhileTheProgramRunsOnTheFolder) {
    FileLock running;
    ASSERT_EQ(running.tryLock(f.inst.path(kLockFile), "4242"), FileLock::Result::Locked);
    const std::string copyBefore = "die Arbeitskopie des laufenden Programms";
    f.inst.writeFile(kDatabaseCopy, copyBefore);
    EXPECT_EQ(run("0"), kTransferCouldNotRun);
    EXPECT_NE(out.str().find("läuft bereits"), std::string::npos) << out.str();
    EXPECT_EQ(f.inst.readFile(kDatabaseCopy), copyBefore);
    EXPECT_TRUE(f.inst.serial.calls.empty());
}

TEST_F(TransferCommandTest, FailedStationGivesExitCodeOne) {
    f.inst.serial.onOutput = [this](const std::string&) {
        if (f.inst.serial.sent.size() == 20)
            f.inst.serial.failOutput = true;
    };
    EXPECT_EQ(run("0,2"), kTransferSomeFailed);
    const std::string text = out.str();
    EXPECT_NE(text.find("COM1 nimmt keine Daten an."), std::string::npos) << text;
    EXPECT_NE(text.find("PNL00 \"Haupteingang\": Übertragung abgebrochen"), std::string::npos) << text;
    EXPECT_NE(text.find("0 von 2 PNL übertragen."), std::string::npos) << text;
}

}  // namespace
}  // namespace pnl::test
