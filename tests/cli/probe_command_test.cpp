#include <gtest/gtest.h>

#include <deque>
#include <sstream>

#include "app/records.h"
#include "cli/probe_command.h"
#include "platform/cipher.h"
#include "support/installation.h"
#include "support/sim_line.h"
#include "tools/sample/sample_installation.h"

namespace pnl::test {
namespace {

const std::string kSoh(1, '\x01');
const std::string kEot(1, '\x04');

// The sample installation (link on COM1, station PNL00 with serial number 012345) and a simulated station.
struct HeadlessProbe : Installation {
    explicit HeadlessProbe(sim::AnswerSetup answer = {}, std::uint32_t station = 12345)
        : simulator(loop, sim::SimulatorSetup{{{station}}, answer, std::nullopt}) {
        std::string error;
        EXPECT_TRUE(writeSampleInstallation(folder.path(), &error)) << error;
        attachSimulator(serial, simulator, loop);
    }
    int run(const std::string& station, const std::string& level = "3") {
        output.str("");
        return RunProbeCommand(*program, station, level, output, [this](const std::string&) {
            ++prompts;
            if (codes.empty())
                return std::optional<std::string>();
            const std::string next = codes.front();
            codes.pop_front();
            return std::optional<std::string>(next);
        });
    }
    void setSetting(const std::string& section, const std::string& key, const std::string& value) {
        SettingsFile file(fs);
        file.setFileName(path(kSettingsFile));
        ASSERT_TRUE(file.write(section, key, value));
    }

    sim::Simulator simulator;
    std::ostringstream output;
    std::deque<std::string> codes;
    int prompts = 0;
};

TEST(HeadlessProbe, FindsTheStationWithThePortTestsBytesAndChangesNoFile) {
    HeadlessProbe probe;
    const std::string settingsBefore = probe.readFile(kSettingsFile);
    const std::int64_t start = probe.loop.now();
    EXPECT_EQ(probe.run("0"), kProbeFound);
    EXPECT_EQ(
        probe.output.str(),
        "COM1, PNL00 \"Haupteingang\":\nDie PNLXXX mit der Seriennr. 012345\nwurde am ausgewählten Port "
        "gefunden!\n");
    ASSERT_EQ(probe.serial.sent.size(), 3u);
    EXPECT_EQ(probe.serial.sent[0].bytes, kSoh + "(00303901" + kEot);
    EXPECT_EQ(probe.serial.sent[1].bytes, kSoh + "*0000" + kEot);
    EXPECT_EQ(probe.serial.sent[1].atMs, start + 600);
    EXPECT_EQ(probe.serial.sent[2].bytes, kSoh + "(00303900" + kEot);
    EXPECT_EQ(probe.serial.sent[2].atMs, start + 2600);
    EXPECT_EQ(probe.serial.calls.front(), "port 1");
    EXPECT_EQ(probe.serial.calls.back(), "close");
    EXPECT_EQ(probe.prompts, 0);
    EXPECT_FALSE(probe.program->serialLinkBusy);
    EXPECT_EQ(probe.readFile(kSettingsFile), settingsBefore);
    EXPECT_FALSE(probe.exists(kSettingsCopy));
    EXPECT_FALSE(probe.exists("log"));
}

TEST(HeadlessProbe, AnswersThatDoNotCountAreNotFound) {
    using Length = sim::AnswerSetup::Length;
    const std::vector<sim::AnswerSetup> answers{{.length = Length::Short},
                                                {.length = Length::Long},
                                                {.wrongStar = true},
                                                {.lateMs = 2100},
                                                {.silent = true}};
    for (const auto& answer : answers) {
        HeadlessProbe probe(answer);
        EXPECT_EQ(probe.run("00"), kProbeNotFound);
        EXPECT_NE(probe.output.str().find("wurde nicht am ausgewählten Port gefunden!"), std::string::npos);
        EXPECT_FALSE(probe.serial.isOpen());
    }
    // Another station on the line does not answer for ours.
    HeadlessProbe other({}, 654321);
    EXPECT_EQ(other.run("0"), kProbeNotFound);
}

TEST(HeadlessProbe, SaysWhyItCouldNotRunAndSendsNothing) {
    struct Case {
        std::string station, section, key, value;
        std::string says;
    };
    const std::vector<Case> cases{
        {"64", "", "", "", "\"64\" ist keine PNL Nummer (0 bis 63). Kein Test möglich!\n"},
        {"x", "", "", "", "\"x\" ist keine PNL Nummer (0 bis 63). Kein Test möglich!\n"},
        {"5", "", "", "", "Die PNL PNL05 ist nicht angelegt. Kein Test möglich!\n"},
        {"0", "PNLXXX", "PNL00", "PNL-B,Haupteingang,12AB,,FALSE",
         "Die PNL PNL00 hat keine gültige Seriennummer. Kein Test möglich!\n"},
        {"0", "PNLXXX", "PNL00", "PNL-B,Haupteingang,000000,,FALSE",
         "Die PNL PNL00 hat keine gültige Seriennummer. Kein Test möglich!\n"},
        {"0", "Schnittstellen", "COM1", "030,FALSE",
         "Es ist keine Schnittstelle für den PNL Datenabgleich konfiguriert. Kein Test möglich!\n"},
        {"0", "Schnittstellen", "COM1", "30,TRUE,ATZ,,0,",
         "Die Schnittstelle COM1 arbeitet über ein Modem. Kein Test möglich!\n"},
    };
    for (const Case& c : cases) {
        HeadlessProbe probe;
        if (!c.section.empty())
            probe.setSetting(c.section, c.key, c.value);
        EXPECT_EQ(probe.run(c.station), kProbeCouldNotRun);
        EXPECT_EQ(probe.output.str(), c.says);
        EXPECT_TRUE(probe.serial.calls.empty());
    }

    HeadlessProbe inUse;
    inUse.ports.inUse = {1};
    EXPECT_EQ(inUse.run("0"), kProbeCouldNotRun);
    EXPECT_EQ(inUse.output.str(), "Schnittstelle wird gegenwärtig genutzt. Kein Test möglich!\n");
    EXPECT_TRUE(inUse.serial.calls.empty());

    HeadlessProbe unopenable;
    unopenable.serial.failOpen = true;
    EXPECT_EQ(unopenable.run("0"), kProbeCouldNotRun);
    EXPECT_TRUE(unopenable.serial.sent.empty());

    HeadlessProbe noSettings;
    std::remove(noSettings.path(kSettingsFile).c_str());
    EXPECT_EQ(noSettings.run("0"), kProbeCouldNotRun);
    EXPECT_EQ(noSettings.output.str(), "ANLAGE99.INI nicht gefunden! Kein Test möglich!\n");
}

TEST(HeadlessProbe, WithoutALevelTheAccessCodeDecides) {
    // Two wrong codes and an empty entry, then a level-3 code.
    HeadlessProbe probe;
    probe.codes = {"123", "", "0333333", "333333"};
    EXPECT_EQ(probe.run("0", ""), kProbeFound);
    EXPECT_EQ(probe.prompts, 4);
    EXPECT_EQ(probe.program->UserLevel, 3);

    HeadlessProbe wrong;
    wrong.codes = {"1", "2", "3", "333333"};
    EXPECT_EQ(wrong.run("0", ""), kProbeCouldNotRun);
    EXPECT_EQ(wrong.prompts, 3);
    EXPECT_EQ(wrong.output.str(), "Kein gültiger Zugangscode. Kein Test möglich!\n");
    EXPECT_TRUE(wrong.serial.calls.empty());

    HeadlessProbe ended;
    EXPECT_EQ(ended.run("0", "0"), kProbeCouldNotRun);
    EXPECT_EQ(ended.prompts, 1);

    HeadlessProbe master;
    master.codes = {"orion nebel"};
    EXPECT_EQ(master.run("0", "abc"), kProbeFound);
    EXPECT_EQ(master.program->UserLevel, 6);
    EXPECT_EQ(master.output.str().rfind("Möge die Macht mit Euch sein\n", 0), 0u);

    // Level 1 of the sample is of kind "B": no rights on the interfaces, whether typed or given.
    HeadlessProbe resident;
    resident.codes = {"111111"};
    EXPECT_EQ(resident.run("0", ""), kProbeCouldNotRun);
    EXPECT_EQ(resident.output.str(), "Level 1 hat keine Rechte an den Schnittstellen. Kein Test möglich!\n");
    EXPECT_EQ(resident.run("0", "2"), kProbeCouldNotRun);
    EXPECT_TRUE(resident.serial.calls.empty());

    // A kind written in lower case gives no more rights than its letter says.
    HeadlessProbe lowerCase;
    {
        SettingsFile file(lowerCase.fs);
        file.setFileName(lowerCase.path(kSettingsFile));
        file.setSection("Berechtigungen");
        file.setKey("LEVEL4");
        ASSERT_TRUE(writeEncrypted(file, "TRUE,444444,b"));
    }
    EXPECT_EQ(lowerCase.run("0", "4"), kProbeCouldNotRun);
    EXPECT_EQ(lowerCase.output.str(), "Level 4 hat keine Rechte an den Schnittstellen. Kein Test möglich!\n");
    EXPECT_TRUE(lowerCase.serial.calls.empty());
}

}  // namespace
}  // namespace pnl::test
