// The simulator decodes what the stations received from the frame layout alone, in process and over a pty.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "link_fixture.h"
#include "platform/poll_event_loop.h"
#include "platform/posix_serial.h"
#include "platform/pseudo_terminal.h"
#include "residents/resident_table.h"
#include "stations/transfer_line.h"
#include "support/sim_line.h"
#include "tools/sample/sample_installation.h"
#include "tools/station_sim/simulator.h"

namespace pnl::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// What the simulator decoded for the station, as transfer lines.
std::vector<std::string> heldBy(const sim::Simulator& simulator, std::uint32_t serial) {
    const auto directory = simulator.directoryOf(serial);
    if (!directory)
        return {"never closed"};
    EXPECT_TRUE(directory->errors.empty()) << directory->errors.front();
    EXPECT_EQ(directory->count, static_cast<int>(directory->records.size()));
    std::vector<std::string> lines;
    for (const auto& r : directory->records)
        lines.push_back(r.name + "|" + r.apartment + "|" + std::to_string(r.serial1) + "|" +
                        std::to_string(r.serial2) + "|" + std::to_string(r.code));
    return lines;
}

// What the station should hold: the transfer lines of its residents.
std::vector<std::string> linesOf(Program& program, int station) {
    ColumnList list;
    EncodeStation(program, list, station);
    return list.lines();
}

// Presence check: a silent station gets nothing; a broken port leaves it incomplete; retry sends both.
TEST(TransferToSimulator, SilentAndBrokenStationsAreTriedAgain) {
    LinkFixture f;
    f.writeSettings("COM1=30,FALSE",
                    "PNL00=PNL-B,Haupteingang,123456,,FALSE\nPNL05=PNL-B,Still,23456,,FALSE");
    f.createResidents();
    f.addResidentsOf(0, 2);
    f.addResidentsOf(5, 1);
    sim::Simulator simulator(f.inst.loop,
                             sim::SimulatorSetup{{{123456, sim::Firmware::V3}}, {}, std::nullopt});
    attachSimulator(f.inst.serial, simulator, f.inst.loop);
    f.dialog.Form_Load();
    EXPECT_FALSE(f.form.ChkPNLCheck.checked());  // off unless chosen for the installation
    f.form.ChkPNLCheck.setChecked(true);
    f.dialog.ChkPNLCheck_Click();
    FrmPNL again;
    FrmPnlController(f.program(), again).Form_Load();
    EXPECT_TRUE(again.ChkPNLCheck.checked());
    EXPECT_THAT(f.inst.readFile("PNLSETUP.INI"), HasSubstr("ErreichbarkeitPruefen=TRUE"));

    f.dialog.CmdPNLTransAll_Click();
    std::string stateAfterBreak;
    const auto toSimulator = f.inst.serial.onOutput;
    f.inst.serial.onOutput = [&](const std::string& bytes) {
        toSimulator(bytes);
        if (f.inst.serial.sent.size() == 3 + 5 && stateAfterBreak.empty())
            f.inst.serial.failOutput = true;
    };
    f.inst.dialogs.whileShown = [&](const Message&) {
        if (stateAfterBreak.empty()) {  // the line failure is told: the port takes bytes again
            stateAfterBreak = f.inst.readFile("PNL00_STAND.TXT");
            f.inst.serial.failOutput = false;
        }
        EXPECT_FALSE(f.form.PBarPNL.visible());
    };
    f.inst.dialogs.answer(MsgAnswer::Ok);   // the line failed
    f.inst.dialogs.answer(MsgAnswer::Yes);  // try again
    f.inst.dialogs.answer(MsgAnswer::No);   // no other try
    f.dialog.CmdPNLTransStart_Click();

    // Each run probes both (3 frames each); the broken transfer took 5 frames, the second one 17.
    EXPECT_EQ(f.sent().size(), 3u + 5u + 3u + 3u + 17u + 3u);
    EXPECT_EQ(simulator.ignoredFrames(), 6);  // the silent station's select, query and close, twice
    EXPECT_EQ(heldBy(simulator, 123456), linesOf(f.program(), 0));
    EXPECT_THAT(stateAfterBreak, HasSubstr("Stand=unvollständig"));
    EXPECT_THAT(f.inst.readFile("PNL00_STAND.TXT"), HasSubstr("Stand=vollständig"));
    EXPECT_EQ(
        f.inst.dialogs.texts(),
        (std::vector<std::string>{
            "Die Übertragung zur PNL Haupteingang (PNL00) ist abgebrochen: die serielle "
            "Schnittstelle COM1 nimmt keine Daten an.",
            "PNL00 Haupteingang: Leitung gestört, die PNL ist unvollständig\nPNL05 Still: antwortet nicht, "
            "nichts gesendet\n0 von 2 PNL übertragen.\n\nDie fehlgeschlagenen PNL erneut versuchen?",
            "PNL00 Haupteingang: mit 2 Bewohnern übertragen in 0:09\nPNL05 Still: antwortet nicht, nichts "
            "gesendet\n1 von 2 PNL übertragen.\n\nDie fehlgeschlagenen PNL erneut versuchen?"}));
}

// No carrier for the first: not even a hang-up; "Abbrechen" ("Nein", then "Ja") finishes the second only.
TEST(TransferToSimulator, ModemRunCancelledDuringTheSecondStation) {
    LinkFixture f;
    f.writeSettings("COM1=30,TRUE,ATE0V1,,ATDT,",
                    "PNL00=PNL-B,Eins,1,0301111,FALSE\nPNL01=PNL-B,Zwei,2,0302222,FALSE\n"
                    "PNL02=PNL-B,Drei,3,0303333,FALSE");
    f.createResidents();
    for (int i = 0; i < 4; ++i)
        f.addResident("R" + std::to_string(i), "", "1", std::int64_t{i + 1}, "", std::int64_t{0}, "111");
    sim::ModemSetup modem;
    modem.dialPrefix = "ATDT";
    modem.numbers = {{"0302222", 2}, {"0303333", 3}};
    sim::Simulator simulator(
        f.inst.loop,
        sim::SimulatorSetup{
            {{1, sim::Firmware::V3}, {2, sim::Firmware::V3}, {3, sim::Firmware::V3}}, {}, modem});
    attachSimulator(f.inst.serial, simulator, f.inst.loop);
    f.dialog.Form_Load();
    f.dialog.CmdPNLTransAll_Click();
    f.inst.dialogs.answer(MsgAnswer::Ok);   // "Keine Modemverbindung!"
    f.inst.dialogs.answer(MsgAnswer::No);   // go on
    f.inst.dialogs.answer(MsgAnswer::Yes);  // stop after this station
    f.inst.dialogs.answer(MsgAnswer::No);   // no other try
    bool secondPauseRefused = false;
    // Station 2 writes its records from 22 + 32 + 32.6 s on.
    f.at(22000 + 32000 + 32000 + 700, [&] {
        f.dialog.CmdPNLTransCancel_Click();
        f.dialog.CmdPNLTransStart_Click();  // a running transfer does not start twice
        secondPauseRefused = !f.program().pause.TimerWait(1000);
    });
    f.at(22000 + 32000 + 32000 + 800, [&] { f.dialog.CmdPNLTransCancel_Click(); });
    f.dialog.CmdPNLTransStart_Click();

    EXPECT_TRUE(secondPauseRefused);
    EXPECT_EQ(f.inst.serial.handshake, 3);
    const auto texts = f.inst.dialogs.texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "Keine Modemverbindung!");
    EXPECT_EQ(f.inst.dialogs.shown[0].title, "Modemfehler");
    EXPECT_EQ(f.inst.dialogs.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(f.inst.dialogs.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(f.inst.dialogs.shown[1].buttons, MsgButtons::YesNo);
    EXPECT_EQ(texts[3],
              "PNL00 Eins: keine Modemverbindung, nichts gesendet\n"
              "PNL01 Zwei: mit 4 Bewohnern übertragen in 0:42\n"
              "PNL02 Drei: nicht gesendet nach \"Abbrechen\"\n"
              "1 von 3 PNL übertragen.\n\nDie fehlgeschlagenen PNL erneut versuchen?");
    EXPECT_EQ(simulator.modemCommands(),
              (std::vector<std::string>{"ATE0V1", "ATDT 0301111", "ATE0V1", "ATDT 0302222", "ATH"}));
    EXPECT_EQ(heldBy(simulator, 2), linesOf(f.program(), 1));
    EXPECT_EQ(f.sent().size(), 5u + 1u + 28u + 2u);
    EXPECT_EQ(simulator.ignoredFrames(), 0);
    EXPECT_FALSE(f.inst.exists("PNL00_STAND.TXT"));
    EXPECT_THAT(f.inst.readFile("PNL01_STAND.TXT"), HasSubstr("Stand=vollständig"));
    EXPECT_FALSE(f.inst.exists("PNL02_STAND.TXT"));
    // The station not sent stays ticked for the next start.
    EXPECT_TRUE(f.form.TrVwPNLTrans.node(2).checked);
    EXPECT_FALSE(f.form.TrVwPNLTrans.node(1).checked);
    EXPECT_TRUE(f.form.visible());

    // A transfer while another user holds the line (a port test) is refused and touches nothing.
    f.inst.serial.calls.clear();
    f.program().serialLinkBusy = true;
    EXPECT_FALSE(TransferRun(f.program(), f.form).started);
    EXPECT_TRUE(f.inst.serial.calls.empty());
    EXPECT_THAT(f.inst.dialogs.last().text, HasSubstr("anderen Vorgang"));
    f.program().serialLinkBusy = false;
    f.dialog.CmdPNLTransCancel_Click();  // idle: closes the dialog
    EXPECT_FALSE(f.form.visible());
}

// Real time sped up by the factor, so that the fixed pauses take about a second.
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

// The sample's main entrance (3.x) and side entrance (2.7x) receive their residents.
TEST(TransferToSimulator, SampleStationsOverAPseudoTerminal) {
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

    sim::Simulator simulator(
        loop,
        sim::SimulatorSetup{{{12345, sim::Firmware::V3}, {23456, sim::Firmware::V27}}, {}, std::nullopt});
    const int watch = loop.watchReadable(pty->masterFd(), [&] { simulator.receive(pty->readAvailable()); });

    FrmPNL form;
    FrmPnlController dialog(program, form);
    dialog.Form_Load();
    form.TrVwPNLTrans.setChecked(0, true);
    form.TrVwPNLTrans.setChecked(1, true);
    dialog.CmdPNLTransStart_Click();
    loop.unwatch(watch);

    ASSERT_EQ(linesOf(program, 0).size() + linesOf(program, 1).size(), 42u);
    EXPECT_EQ(heldBy(simulator, 12345), linesOf(program, 0));
    EXPECT_EQ(heldBy(simulator, 23456), linesOf(program, 1));
    EXPECT_TRUE(simulator.malformed().empty());
    EXPECT_EQ(simulator.ignoredFrames(), 0);
    EXPECT_THAT(dialogs.texts(), ElementsAre(HasSubstr("2 von 2 PNL übertragen.")));
    EXPECT_FALSE(serial->isOpen());
}

}  // namespace
}  // namespace pnl::test
