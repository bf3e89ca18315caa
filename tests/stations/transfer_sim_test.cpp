// The transfer checked by the station simulator, which decodes what the stations received from the frame
// layout alone: on virtual time through the in-process line, and over a real pseudo-terminal.

#include <gtest/gtest.h>

#include "app/text.h"
#include "forms/frm_pnl.h"
#include "link_fixture.h"
#include "platform/poll_event_loop.h"
#include "platform/posix_serial.h"
#include "platform/pseudo_terminal.h"
#include "residents/resident_table.h"
#include "stations/frm_pnl_controller.h"
#include "stations/transfer_line.h"
#include "support/sim_line.h"
#include "tools/sample/sample_installation.h"
#include "tools/station_sim/simulator.h"

namespace pnl::test {
namespace {

// A record as the station should hold it: name, apartment, serial numbers and code in display order.
struct Expected {
    std::string name, apartment;
    std::uint32_t serial1 = 0, serial2 = 0, code = 0;
    bool operator==(const Expected&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Expected& e) {
    return out << e.name << "|" << e.apartment << "|" << e.serial1 << "|" << e.serial2 << "|" << e.code;
}

// The residents of a station read straight from the database, in the order the dialog's list sorts them.
std::vector<Expected> residentsInDatabase(Database& db, int station) {
    const auto rows = db.query("SELECT Name, Vorname, Wnr, sernr, AUSLOESUNG, code, PNL FROM BEWOHNER");
    EXPECT_TRUE(rows);
    std::vector<std::string> lines;
    for (const DbRow& row : *rows) {
        const std::string assignment = dbText(row[6]);
        if (assignment.size() <= static_cast<std::size_t>(station) || assignment[station] != '1')
            continue;
        std::string name = trim(dbText(row[0]));
        if (name.empty())
            continue;
        if (!trim(dbText(row[1])).empty())
            name += ", " + trim(dbText(row[1]));
        const std::string trigger = dbText(row[4]);
        const std::string second = trigger.size() > 2 ? trigger.substr(2) : "0";
        const std::int64_t code = leadingNumber(dbText(row[5]));
        lines.push_back(leftChars(name, 31) + "|" + leftChars(trim(dbText(row[2])), 6) + "|" +
                        dbText(row[3]) + "|" + std::to_string(leadingNumber(second)) + "|" +
                        std::to_string(code > 0 && code < 10000 ? code : 0));
    }
    sortTransferLines(lines);
    std::vector<Expected> expected;
    ValueFields fields;
    for (const std::string& line : lines) {
        fields.split(line, '|');
        expected.push_back(Expected{fields[0], fields[1],
                                    static_cast<std::uint32_t>(leadingNumber(fields[2])),
                                    static_cast<std::uint32_t>(leadingNumber(fields[3])),
                                    static_cast<std::uint32_t>(leadingNumber(fields[4]))});
    }
    return expected;
}

std::vector<Expected> heldBy(const sim::Directory& directory) {
    std::vector<Expected> held;
    for (const auto& r : directory.records)
        held.push_back(Expected{r.name, r.apartment, r.serial1, r.serial2, r.code});
    return held;
}

void expectStationHolds(const sim::Simulator& simulator, std::uint32_t serial,
                        const std::vector<Expected>& expected) {
    const auto directory = simulator.directoryOf(serial);
    ASSERT_TRUE(directory) << "station " << serial << " was never closed";
    EXPECT_TRUE(directory->errors.empty()) << directory->errors.front();
    EXPECT_EQ(directory->count, static_cast<int>(expected.size()));
    EXPECT_EQ(heldBy(*directory), expected);
}

sim::SimulatorSetup stations(std::vector<sim::StationSetup> list,
                             std::optional<sim::ModemSetup> modem = std::nullopt) {
    sim::SimulatorSetup setup;
    setup.stations = std::move(list);
    setup.modem = std::move(modem);
    return setup;
}

// The sample installation (with station assignments) in the test's folder, its database bound.
void useSample(LinkFixture& f) {
    std::string error;
    ASSERT_TRUE(writeSampleInstallation(f.inst.folder.path(), &error, SampleOptions{true, true})) << error;
    f.program().InitX.setFileName(f.inst.path(kSettingsFile));
    f.program().DataBewo = Database::open(f.inst.path(kDatabaseFile));
    ASSERT_TRUE(f.program().DataBewo);
    f.program().residents = std::make_shared<ResidentTable>(*f.program().DataBewo);
}

TEST(TransferToSimulator, SampleStationsReceiveTheirResidents) {
    LinkFixture f;
    useSample(f);
    sim::Simulator simulator(f.inst.loop,
                             stations({{12345, sim::Firmware::V3}, {23456, sim::Firmware::V27}}));
    attachSimulator(f.inst.serial, simulator, f.inst.loop);
    FrmPnlController dialog(f.program(), f.form);
    dialog.Form_Load();
    f.form.TrVwPNLTrans.setChecked(0, true);
    f.form.TrVwPNLTrans.setChecked(1, true);
    dialog.CmdPNLTransStart_Click();

    expectStationHolds(simulator, 12345, residentsInDatabase(*f.program().DataBewo, 0));
    expectStationHolds(simulator, 23456, residentsInDatabase(*f.program().DataBewo, 1));
    EXPECT_TRUE(simulator.malformed().empty());
    EXPECT_EQ(simulator.ignoredFrames(), 0);
    ASSERT_EQ(f.inst.dialogs.shown.size(), 1u);
    EXPECT_NE(f.inst.dialogs.last().text.find("2 von 2 PNL übertragen."), std::string::npos);
}

// With the presence check, the probe's frames ask each station first: the one that answers gets its
// residents, the silent one nothing after the probe's frames; the run goes on and reports it.
TEST(TransferToSimulator, PresenceCheckSendsOnlyToStationsThatAnswer) {
    LinkFixture f;
    useSample(f);
    sim::Simulator simulator(f.inst.loop, stations({{12345, sim::Firmware::V3}}));  // 23456 is silent
    attachSimulator(f.inst.serial, simulator, f.inst.loop);
    FrmPnlController dialog(f.program(), f.form);
    dialog.Form_Load();
    EXPECT_FALSE(f.form.ChkPNLCheck.checked());  // off unless chosen for the installation
    f.form.ChkPNLCheck.setChecked(true);
    dialog.ChkPNLCheck_Click();
    FrmPNL again;
    FrmPnlController reopened(f.program(), again);
    reopened.Form_Load();
    EXPECT_TRUE(again.ChkPNLCheck.checked());

    f.form.TrVwPNLTrans.setChecked(0, true);
    f.form.TrVwPNLTrans.setChecked(1, true);
    f.inst.dialogs.answer(MsgAnswer::No);  // no other try
    dialog.CmdPNLTransStart_Click();

    expectStationHolds(simulator, 12345, residentsInDatabase(*f.program().DataBewo, 0));
    std::vector<std::string> toSilent;
    bool silentSelected = false;
    for (const std::string& text : f.sentTexts()) {
        if (text.find("(005BA0") != std::string::npos)  // 23456
            silentSelected = text == framed("(005BA001");
        if (text.find("(005BA0") != std::string::npos || silentSelected)
            toSilent.push_back(text);
    }
    EXPECT_EQ(toSilent,
              (std::vector<std::string>{framed("(005BA001"), framed("*0000"), framed("(005BA000")}));
    ASSERT_EQ(f.inst.dialogs.shown.size(), 1u);
    EXPECT_NE(f.inst.dialogs.last().text.find("PNL01 Nebeneingang: antwortet nicht, nichts gesendet"),
              std::string::npos)
        << f.inst.dialogs.last().text;
    EXPECT_NE(f.inst.readFile("PNLSETUP.INI").find("ErreichbarkeitPruefen=TRUE"), std::string::npos);
}

TEST(TransferToSimulator, ModemCallsEachStationAndSkipsAnUnknownNumber) {
    LinkFixture f;
    f.writeSettings("COM1=30,TRUE,ATE0V1,,ATDT,",
                    "PNL00=PNL-B,Bekannt,12345,0301111,FALSE\nPNL01=PNL-B,Unbekannt,23456,0309999,FALSE\n"
                    "PNL02=PNL-B,Auch bekannt,34567,0302222,FALSE");
    f.createResidents();
    f.addResident("Müller", "Anna", "12", std::int64_t{4711}, ",,000000", std::int64_t{0}, "111");
    sim::ModemSetup modem;
    modem.dialPrefix = "ATDT";
    modem.numbers = {{"0301111", 12345}, {"0302222", 34567}};
    sim::Simulator simulator(
        f.inst.loop,
        stations({{12345, sim::Firmware::V3}, {23456, sim::Firmware::V3}, {34567, sim::Firmware::V3}},
                 modem));
    attachSimulator(f.inst.serial, simulator, f.inst.loop);
    FrmPnlController dialog(f.program(), f.form);
    dialog.Form_Load();
    dialog.CmdPNLTransAll_Click();
    f.inst.dialogs.answer(MsgAnswer::Ok);  // "Keine Modemverbindung!"
    f.inst.dialogs.answer(MsgAnswer::No);  // no other try
    dialog.CmdPNLTransStart_Click();

    ASSERT_EQ(f.inst.dialogs.texts().size(), 2u);
    EXPECT_EQ(f.inst.dialogs.texts()[0], "Keine Modemverbindung!");
    EXPECT_EQ(f.inst.dialogs.shown[0].title, "Modemfehler");
    const std::vector<Expected> anna{{"Müller, Anna", "12", 4711, 0, 0}};
    expectStationHolds(simulator, 12345, anna);
    expectStationHolds(simulator, 34567, anna);
    EXPECT_FALSE(simulator.directoryOf(23456));
    EXPECT_TRUE(simulator.framesOf(23456).empty());
    // Nothing at all after the failed dial, not even a hang-up.
    EXPECT_EQ(simulator.modemCommands(),
              (std::vector<std::string>{"ATE0V1", "ATDT 0301111", "ATH", "ATE0V1", "ATDT 0309999", "ATE0V1",
                                        "ATDT 0302222", "ATH"}));
    EXPECT_EQ(simulator.ignoredFrames(), 0);
    EXPECT_FALSE(f.inst.serial.isOpen());
}

// Real time, sped up: every interval is divided by the factor, so the run's 37 s of fixed pauses take well
// under a second while the bytes really cross a pseudo-terminal.
class FastLoop : public EventLoop {
  public:
    explicit FastLoop(int factor) : factor_(factor) {}
    int startTimer(Milliseconds interval, bool repeat, Callback callback) override {
        return loop_.startTimer(interval / factor_, repeat, std::move(callback));
    }
    void stopTimer(int id) override { loop_.stopTimer(id); }
    int watchReadable(int fd, Callback callback) override {
        return loop_.watchReadable(fd, std::move(callback));
    }
    void unwatch(int id) override { loop_.unwatch(id); }
    void processEventsUntil(const std::function<bool()>& done) override { loop_.processEventsUntil(done); }
    const Clock& clock() const override { return loop_.clock(); }

  private:
    PollEventLoop loop_;
    int factor_;
};

TEST(TransferToSimulator, SampleStationOverAPseudoTerminal) {
    TempFolder folder;
    std::string error;
    ASSERT_TRUE(writeSampleInstallation(folder.path(), &error, SampleOptions{true, true})) << error;
    auto pty = PseudoTerminal::open(&error);
    ASSERT_TRUE(pty) << error;

    FastLoop loop(50);
    PortMap ports;
    ports.map(1, pty->slavePath());
    TempFolder locks;
    PosixSerialOptions options;
    options.lockFolder = locks.path();
    auto serial = makePosixSerialPort(loop, ports, options);
    PosixFileSystem fs;
    ScriptedDialogs dialogs;
    FakePortQueries queries;
    Program program(Platform{fs, loop, dialogs, *serial, queries}, folder.path());
    program.InitX.setFileName(program.path(kSettingsFile));
    program.DataBewo = Database::open(program.path(kDatabaseFile));
    ASSERT_TRUE(program.DataBewo);
    program.residents = std::make_shared<ResidentTable>(*program.DataBewo);

    sim::Simulator simulator(loop, stations({{12345, sim::Firmware::V3}}));
    const int watch = loop.watchReadable(pty->masterFd(), [&] { simulator.receive(pty->readAvailable()); });

    FrmPNL form;
    FrmPnlController dialog(program, form);
    dialog.Form_Load();
    form.TrVwPNLTrans.setChecked(form.TrVwPNLTrans.findKey("S00"), true);
    dialog.CmdPNLTransStart_Click();
    loop.unwatch(watch);

    const auto expected = residentsInDatabase(*program.DataBewo, 0);
    ASSERT_EQ(expected.size(), 21u);
    expectStationHolds(simulator, 12345, expected);
    EXPECT_TRUE(simulator.malformed().empty());
    EXPECT_EQ(dialogs.shown.size(), 1u);  // the summary
    EXPECT_FALSE(serial->isOpen());
}

}  // namespace
}  // namespace pnl::test
