// Whole transfer runs: on the recording port, and to the simulator in process and over a pty.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/resident_table.h"
#include "link/interface_record.h"
#include "link_fixture.h"
#include "platform/posix_serial.h"
#include "platform/pseudo_terminal.h"
#include "stations/station_directory.h"
#include "stations/transfer_run.h"
#include "support/real_time_loop.h"
#include "support/sim_line.h"
#include "tools/sample/sample_installation.h"
#include "tools/station_sim/simulator.h"

namespace pnl::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct TransferRunTest : ::testing::Test, LinkFixture {};

// Only labelled stations are listed; the second one has no residents.
TEST_F(TransferRunTest, TwoStationsTheSecondWithoutResidents) {
    writeSettings("COM1=30,FALSE",
                  "PNL00=PNL-B,Haupteingang,123456,,FALSE\nPNL01=\nPNL02=PNL-A,,2,,FALSE\n"
                  "PNL63=PNL-B,Hof,654321,,FALSE");
    createResidents();
    addResidentsOf(0, 3);
    dialog.load();
    EXPECT_EQ(form.stationTree.nodes(),
              (std::vector<CheckTree::Node>{{"S00", "Haupteingang", false}, {"S63", "Hof", false}}));
    dialog.selectAll();
    dialog.selectNone();
    EXPECT_EQ(form.stationTree.nodes(),
              (std::vector<CheckTree::Node>{{"S00", "Haupteingang", false}, {"S63", "Hof", false}}));
    dialog.selectAll();

    EXPECT_EQ(form.stationStates.lines(),
              (std::vector<std::string>{"Haupteingang|nie übertragen|–", "Hof|nie übertragen|–"}));
    bool disabledDuringRun = false;
    std::vector<std::string> statusLines;
    at(0, [&] { statusLines.push_back(form.status.caption()); });
    at(1500, [&] {
        disabledDuringRun = !form.start.enabled() && !form.selectAll.enabled() &&
                            !form.selectNone.enabled() && !form.selectChanged.enabled() &&
                            form.cancel.enabled() && !form.stationTree.enabled() &&
                            program().serialLinkBusy && !dialog.closeRequested();
        statusLines.push_back(form.status.caption());
    });
    at(22000 + 600 + 350 + 10, [&] { statusLines.push_back(form.status.caption()); });
    dialog.stationHighlighted(1);  // Hof: nothing to send, and the list says so, also after the run
    EXPECT_EQ(form.transferList.lines(), std::vector<std::string>{"Keine Änderungen"});
    dialog.startTransfer();
    EXPECT_EQ(form.transferList.lines(), std::vector<std::string>{"Keine Änderungen"});
    // The whole run: 22 s, the station's 0.6 + 3 x 0.35 + 0.5 + 5 s, 15 s.
    EXPECT_EQ(statusLines, (std::vector<std::string>{
                               "Warte auf die PNL (noch 22 s) – noch ca. 0:45",
                               "Warte auf die PNL (noch 21 s) – noch ca. 0:44",
                               "PNL 1 von 2: Haupteingang – Datensatz 1 von 3 – noch ca. 0:22",
                           }));
    EXPECT_EQ(form.status.caption(), "");

    EXPECT_EQ(sent().size(), 1u + 21u + 1u + 1u);  // nothing to Hof
    EXPECT_EQ(inst.serial.calls,
              (std::vector<std::string>{"port 1", "settings 9600,N,8,1", "dtr on", "rts on", "handshake 0",
                                        "open", "dtr off", "close"}));
    EXPECT_FALSE(anyTicked());
    EXPECT_TRUE(disabledDuringRun);
    EXPECT_TRUE(form.start.enabled() && form.stationTree.enabled());
    EXPECT_FALSE(program().serialLinkBusy);
    EXPECT_EQ(inst.dialogs.texts(),
              (std::vector<std::string>{"PNL00 Haupteingang: mit 3 Bewohnern übertragen in 0:07\n"
                                        "PNL63 Hof: nichts zu senden (keine Bewohner zugeordnet)\n"
                                        "1 von 2 PNL übertragen."}));
    // Nothing answers on this line: the state says what was sent and when, never that the station is current.
    EXPECT_EQ(form.stationStates.lines()[0],
              "Haupteingang|gesendet am 06.12.2026 09:30, seitdem unverändert|06.12.2026 09:30");
    EXPECT_THAT(inst.readFile("PNL00_STAND.TXT"), HasSubstr("Stand=vollständig\n"));
    EXPECT_FALSE(inst.exists("PNL63_STAND.TXT"));

    // A resident moves in: the station shows it before anything is sent, and only it is chosen.
    addResident("Neu", "Nina", "9", std::int64_t{9}, "", std::int64_t{0}, "1");
    dialog.load();
    EXPECT_EQ(form.stationStates.lines()[0],
              "Haupteingang|geändert (1 neu, 0 entfernt, 0 geändert)|06.12.2026 09:30");
    dialog.stationHighlighted(0);
    EXPECT_EQ(form.transferList.lines(), std::vector<std::string>{"neu: Neu, Nina|9|9|0|0"});
    dialog.selectChanged();
    EXPECT_TRUE(form.stationTree.node(0).checked);
    EXPECT_FALSE(form.stationTree.node(1).checked);  // never sent, but it would receive nothing
}

// The directories are kept while the dialog is open, but a resident saved meanwhile (the dialog does not
// block the resident page) is shown, chosen and sent.
TEST_F(TransferRunTest, AResidentSavedWhileTheDialogIsOpenIsSent) {
    createResidents();
    addResidentsOf(0, 2);
    dialog.load();
    dialog.selectAll();
    dialog.startTransfer();
    ASSERT_EQ(sent().size(), 1u + 14u + 2u);
    dialog.selectChanged();
    EXPECT_FALSE(anyTicked());

    addResident("Neu", "Nina", "9", std::int64_t{9}, "", std::int64_t{0}, "1");
    dialog.stationHighlighted(0);
    EXPECT_EQ(form.transferList.lines(), std::vector<std::string>{"neu: Neu, Nina|9|9|0|0"});
    dialog.selectChanged();
    EXPECT_TRUE(form.stationTree.node(0).checked);
    inst.serial.sent.clear();
    dialog.startTransfer();
    EXPECT_EQ(sent().size(), 1u + 21u + 2u);
    EXPECT_THAT(inst.readFile("PNL00_STAND.TXT"), HasSubstr("Bewohner=3\n"));
}

TEST_F(TransferRunTest, PortLookupAndPortFailures) {
    // "030" is kind 30 to the editor's count, not to the transfer; only COM1 to COM8 count.
    writeSettings("COM1=\nCOM2=030,FALSE\nCOM3=51,X\nCOM4=x,y\nCOM9=30,FALSE\nCOM0=30,FALSE",
                  "PNL00=PNL-B,Haupteingang,1,,FALSE");
    program().settings.setKey("COM6");
    EXPECT_EQ(CountPortsOfKind(program(), kStationLink, 3), 1);
    EXPECT_EQ(CountPortsOfKind(program(), kStationLink, 2), 0);
    EXPECT_EQ(CountPortsOfKind(program(), 51, 0), 1);
    EXPECT_EQ(CountPortsOfKind(program(), kNoDevice, 0), 6);  // empty and unreadable both read as kind 0
    EXPECT_EQ(program().settings.key(), "COM6");
    TransferDialogProgress shown(form, directories);
    EXPECT_FALSE(TransferRun(program(), directories, {}, &shown).started);
    EXPECT_EQ(inst.dialogs.last().text, "Keine Schnittstelle für PNL-Datentransfer definiert!");
    EXPECT_EQ(inst.dialogs.last().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(inst.serial.calls.empty());

    // The first of two link ports is taken; a leading blank does not matter.
    writeSettings("COM2= 30,FALSE\nCOM5=30,FALSE", "");
    inst.serial.failOpen = true;
    EXPECT_FALSE(TransferRun(program(), directories, {}, &shown).started);
    // The port's reason follows (here the fake's own words).
    EXPECT_EQ(inst.dialogs.last().text,
              "Die serielle Schnittstelle COM2 kann nicht geöffnet werden!\ncannot open");
    EXPECT_EQ(inst.serial.port, 2);
    EXPECT_EQ(inst.loop.now(), 0);
    EXPECT_TRUE(form.start.enabled());
    EXPECT_FALSE(program().serialLinkBusy);

    // Without ticked stations the port is still opened and closed, with both waits.
    inst.serial.failOpen = false;
    const TransferResult result = TransferRun(program(), directories, {});
    EXPECT_TRUE(result.started);
    EXPECT_TRUE(result.stations.empty());
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(inst.loop.now(), 22000 + 15000);
}

// Too many residents are refused, a station deleted meanwhile is skipped; 582 fit, ending just below 0x8000.
TEST_F(TransferRunTest, RefusedAndVanishedStationsDoNotStopTheRun) {
    writeSettings("COM1=30,FALSE",
                  "PNL00=PNL-B,Gross,1,,FALSE\nPNL01=PNL-B,Weg,2,,FALSE\nPNL02=PNL-B,Voll,3,,FALSE");
    createResidents();
    addResidentsOf(0, 583);
    addResidentsOf(1, 1);
    addResidentsOf(2, 582);
    dialog.load();
    dialog.selectAll();
    writeSettings("COM1=30,FALSE", "PNL00=PNL-B,Gross,1,,FALSE\nPNL01=\nPNL02=PNL-B,Voll,3,,FALSE");
    TransferDialogProgress ticks(form, directories);
    const TransferResult result = TransferRun(program(), directories, {0, 1, 2}, &ticks);

    ASSERT_EQ(result.stations.size(), 3u);
    EXPECT_EQ(result.stations[0].outcome, StationOutcome::TooManyRecords);
    EXPECT_EQ(result.stations[1].outcome, StationOutcome::Skipped);
    EXPECT_EQ(result.stations[2].outcome, StationOutcome::Sent);
    EXPECT_EQ(inst.dialogs.texts(),
              std::vector<std::string>{"Der PNL Gross (PNL00) sind 583 Bewohner zugeordnet, sie "
                                       "kann höchstens 582 speichern.\nZu dieser PNL wird "
                                       "nichts übertragen."});
    const auto& texts = sent();
    ASSERT_EQ(texts.size(), 1u + 582u * 7u + 2u);  // only station 2
    EXPECT_EQ(texts.front().bytes, framed("(00000301"));
    EXPECT_EQ(texts[texts.size() - 2].bytes, framed(")00060100460201000000"));
    EXPECT_FALSE(anyTicked());
}

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
    return transferLines(StationDirectoryOf(*program.residents(), station));
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
    f.dialog.load();
    EXPECT_FALSE(f.form.checkPresence.checked());  // off unless chosen for the installation
    f.form.checkPresence.setChecked(true);
    f.dialog.checkPresenceToggled();
    TransferDialogForm again;
    TransferDialogController(f.program(), again).load();
    EXPECT_TRUE(again.checkPresence.checked());
    EXPECT_THAT(f.inst.readFile("PNLSETUP.INI"), HasSubstr("ErreichbarkeitPruefen=TRUE"));

    f.dialog.selectAll();
    std::string stateAfterBreak;
    const auto toSimulator = f.inst.serial.onOutput;
    f.inst.serial.onOutput = [&](const std::string& bytes) {
        toSimulator(bytes);
        if (f.inst.serial.sent.size() == 3 + 5 && stateAfterBreak.empty())
            f.inst.serial.failOutput = true;
    };
    // The line failure is told in the status line, not in a box; then the port takes bytes again.
    std::string failureLine;
    const auto watch = f.form.status.subscribe([&] {
        const std::string& line = f.form.status.caption();
        if (stateAfterBreak.empty() && line.find("Leitung gestört") != std::string::npos) {
            failureLine = line;
            stateAfterBreak = f.inst.readFile("PNL00_STAND.TXT");
            f.inst.serial.failOutput = false;
        }
    });
    f.inst.dialogs.whileShown = [&](const Message&) { EXPECT_FALSE(f.form.progress.visible()); };
    f.inst.dialogs.answer(MsgAnswer::Yes);  // try again
    f.inst.dialogs.answer(MsgAnswer::No);   // no other try
    f.dialog.startTransfer();

    // Each run probes both (3 frames each); the broken transfer took 5 frames, the second one 17.
    EXPECT_EQ(f.sent().size(), 3u + 5u + 3u + 3u + 17u + 3u);
    EXPECT_EQ(simulator.ignoredFrames(), 6);  // the silent station's select, query and close, twice
    EXPECT_EQ(heldBy(simulator, 123456), linesOf(f.program(), 0));
    EXPECT_THAT(stateAfterBreak, HasSubstr("Stand=unvollständig"));
    EXPECT_THAT(f.inst.readFile("PNL00_STAND.TXT"), HasSubstr("Stand=vollständig"));
    EXPECT_EQ(
        f.inst.dialogs.texts(),
        (std::vector<std::string>{
            "PNL00 Haupteingang: Leitung gestört, die PNL ist unvollständig\nPNL05 Still: antwortet nicht, "
            "nichts gesendet\n0 von 2 PNL übertragen.\n\nDie fehlgeschlagenen PNL erneut versuchen?",
            "PNL00 Haupteingang: mit 2 Bewohnern übertragen in 0:10\nPNL05 Still: antwortet nicht, nichts "
            "gesendet\n1 von 2 PNL übertragen.\n\nDie fehlgeschlagenen PNL erneut versuchen?"}));
    EXPECT_THAT(failureLine,
                HasSubstr("PNL00 Haupteingang: Leitung gestört, die PNL ist unvollständig – weiter: "));
    f.form.status.unsubscribe(watch);
}

// A line that takes the bytes and never answers: the station is recorded as sent, not as current; with the
// presence check it gets nothing. Once it answers the check, the probe's closing frame gets its pause before
// the station's opening frame, and the state says that the station answered.
TEST(TransferToSimulator, TheStateSaysWhatWasSentAndWhetherTheStationAnsweredFirst) {
    LinkFixture f;
    f.writeSettings("COM1=30,FALSE", "PNL00=PNL-B,Haupteingang,123456,,FALSE");
    f.createResidents();
    f.addResidentsOf(0, 2);
    f.inst.serial.wireBaud = 9600;
    f.dialog.load();
    const auto run = [&f](bool check) {
        f.form.checkPresence.setChecked(check);
        f.form.stationTree.setChecked(0, true);
        f.inst.dialogs.answer(MsgAnswer::No);  // the summary's "erneut versuchen?", when it asks
        f.inst.serial.sent.clear();
        f.dialog.startTransfer();
        return f.form.stationStates.lines().at(0);
    };
    const std::string sent = "Haupteingang|gesendet am 06.12.2026 09:30, seitdem unverändert";
    EXPECT_EQ(run(false), sent + "|06.12.2026 09:30");
    EXPECT_EQ(f.sent().size(), 1u + 14u + 2u);
    const std::string state = f.inst.readFile("PNL00_STAND.TXT");
    EXPECT_THAT(state, HasSubstr("Erreichbarkeit=nicht geprüft\n"));

    EXPECT_EQ(run(true), sent + "|06.12.2026 09:30");  // no answer: only the probe's three frames
    EXPECT_EQ(f.sent().size(), 3u);
    EXPECT_EQ(f.inst.readFile("PNL00_STAND.TXT"), state);
    EXPECT_THAT(f.inst.dialogs.last().text, HasSubstr("PNL00 Haupteingang: antwortet nicht"));

    sim::Simulator simulator(f.inst.loop,
                             sim::SimulatorSetup{{{123456, sim::Firmware::V3}}, {}, std::nullopt});
    attachSimulator(f.inst.serial, simulator, f.inst.loop);
    EXPECT_EQ(run(true),
              "Haupteingang|gesendet am 06.12.2026 09:31, seitdem unverändert; Station hat vor dem "
              "Senden geantwortet|06.12.2026 09:31");
    EXPECT_THAT(f.inst.readFile("PNL00_STAND.TXT"), HasSubstr("Erreichbarkeit=geantwortet\n"));
    // Probe select, query, probe close, then 600 ms later the station's opening frame.
    ASSERT_EQ(f.sent().size(), 3u + 1u + 14u + 2u);
    std::vector<std::pair<std::int64_t, std::string>> start;
    for (std::size_t i = 0; i < 4; ++i)
        start.emplace_back(f.sent()[i].atMs - f.sent()[0].atMs, f.sent()[i].bytes);
    EXPECT_EQ(start, (std::vector<std::pair<std::int64_t, std::string>>{{0, framed("(01E24001")},
                                                                        {600, framed("*0000")},
                                                                        {2600, framed("(01E24000")},
                                                                        {3200, framed("(01E24001")}}));
    EXPECT_EQ(heldBy(simulator, 123456), linesOf(f.program(), 0));
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
    f.dialog.load();
    f.dialog.selectAll();
    f.inst.dialogs.answer(MsgAnswer::Ok);   // "Keine Modemverbindung!"
    f.inst.dialogs.answer(MsgAnswer::No);   // go on
    f.inst.dialogs.answer(MsgAnswer::Yes);  // stop after this station
    f.inst.dialogs.answer(MsgAnswer::No);   // no other try
    bool secondPauseRefused = false;
    // Station 2 writes its records from 22 + 32 + 32.6 s on.
    f.at(22000 + 32000 + 32000 + 700, [&] {
        f.dialog.cancel();
        f.dialog.startTransfer();  // a running transfer does not start twice
        secondPauseRefused = !f.program().pause.TimerWait(1000);
    });
    std::string statusAfterYes;
    f.at(22000 + 32000 + 32000 + 800, [&] {
        f.dialog.cancel();
        statusAfterYes = f.form.status.caption();  // said at once, not after the station
    });
    f.dialog.startTransfer();
    EXPECT_THAT(statusAfterYes,
                HasSubstr("keine Modemverbindung, nichts gesendet – weiter: PNL 2 von 3: Zwei"));
    EXPECT_THAT(statusAfterYes, testing::EndsWith(" – der Transfer endet nach dieser PNL"));

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
    EXPECT_FALSE(f.inst.exists("PNL00_STAND.TXT"));
    EXPECT_THAT(f.inst.readFile("PNL01_STAND.TXT"), HasSubstr("Stand=vollständig"));
    EXPECT_FALSE(f.inst.exists("PNL02_STAND.TXT"));
    // The station not sent stays ticked for the next start.
    EXPECT_TRUE(f.form.stationTree.node(2).checked);
    EXPECT_FALSE(f.form.stationTree.node(1).checked);
    EXPECT_TRUE(f.form.visible());

    // A transfer while another user holds the line (a port test) is refused and touches nothing.
    f.inst.serial.calls.clear();
    f.program().serialLinkBusy = true;
    EXPECT_FALSE(TransferRun(f.program(), f.directories, {0}).started);
    EXPECT_TRUE(f.inst.serial.calls.empty());
    EXPECT_THAT(f.inst.dialogs.last().text, HasSubstr("anderen Vorgang"));
    f.program().serialLinkBusy = false;
    f.dialog.cancel();  // idle: closes the dialog
    EXPECT_FALSE(f.form.visible());
}

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
    program.settings.setFileName(program.path(kSettingsFile));
    ASSERT_TRUE(program.useDatabase(Database::open(program.path(kDatabaseFile))));

    sim::Simulator simulator(
        loop,
        sim::SimulatorSetup{{{12345, sim::Firmware::V3}, {23456, sim::Firmware::V27}}, {}, std::nullopt});
    const int watch = loop.watchReadable(pty->masterFd(), [&] { simulator.receive(pty->readAvailable()); });

    TransferDialogForm form;
    TransferDialogController dialog(program, form);
    dialog.load();
    form.stationTree.setChecked(0, true);
    form.stationTree.setChecked(1, true);
    dialog.startTransfer();
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
