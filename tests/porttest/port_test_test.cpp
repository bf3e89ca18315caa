// The port test of the interface window on virtual time, and the probe over a real pseudo-terminal on real
// time with the POSIX serial adapter and a simulated station on the terminal's other side.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/probe_command.h"
#include "link/serial_link_claim.h"
#include "platform/poll_event_loop.h"
#include "platform/posix_serial.h"
#include "platform/pseudo_terminal.h"
#include "platform/serial_lock.h"
#include "porttest/port_test.h"
#include "support/com_window.h"
#include "tools/sample/sample_installation.h"
#include "tools/station_sim/simulator.h"

namespace pnl::test {
namespace {

const std::string kOpen = "\x01(01E24001\x04";
const std::string kQuery = "\x01*0000\x04";
const std::string kAnswer = "?*23456789012345678";
const std::string kAllEnabled = "1111111";

// The interface window on COM2, the station link, with station 123456 chosen.
struct ProbeWindow : ComWindow {
    ProbeWindow()
        : ComWindow(
              "[Schnittstellen]\r\nCOM2=30,FALSE\r\n[PNLXXX]\r\nPNL00=PNL-B,Haupteingang,123456,,FALSE\r\n") {
        choosePort("COM2");
        chooseStation("Haupteingang");
    }
    // Which of the buttons and lists the port test takes away are enabled, one digit each.
    std::string enabled() const {
        std::string digits;
        for (const Control* control : std::initializer_list<const Control*>{
                 &form.CmdCOMTest, &form.CboCOMs, &form.CboCOMDev, &form.CmdCOMSave, &form.CmdPNLNeu,
                 &form.CmdPNLSave, &form.CmdPNLDel})
            digits += control->enabled() ? "1" : "0";
        return digits;
    }
};

TEST(PortTest, FindsTheStationWithTheExactBytesAndPauses) {
    ProbeWindow window;
    window.serial.onOutput = [&](const std::string& bytes) {
        if (bytes == kOpen)
            window.serial.deliver("?*0", 50);  // dropped when the query pause starts
        if (bytes == kQuery) {
            // Split over two receive notifications, the second just before the pause ends.
            window.serial.deliver(kAnswer.substr(0, 7), 20);
            window.serial.deliver(kAnswer.substr(7), 1999);
        }
    };
    std::string whileShown;
    window.dialogs.whileShown = [&](const Message&) {
        whileShown = window.enabled() + (window.program->serialLinkBusy ? " belegt" : "");
    };
    const std::int64_t start = window.loop.now();
    window.test();

    const std::vector<std::pair<std::string, std::int64_t>> frames{
        {kOpen, 0}, {kQuery, 600}, {"\x01(01E24000\x04", 2600}};  // the query pause runs its full 2000 ms
    ASSERT_EQ(window.serial.sent.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(window.serial.sent[i].bytes, frames[i].first);
        EXPECT_EQ(window.serial.sent[i].atMs, start + frames[i].second);
    }
    EXPECT_EQ(window.serial.calls, (std::vector<std::string>{"port 2", "settings 9600,N,8,1", "dtr off",
                                                             "rts off", "handshake 0", "open", "close"}));
    EXPECT_EQ(window.program->ReceiveBuffer, kAnswer);
    ASSERT_EQ(window.dialogs.shown.size(), 1u);
    EXPECT_EQ(window.dialogs.last().text,
              "Die PNLXXX mit der Seriennr. 123456\n\rwurde am ausgewählten Port gefunden!");
    EXPECT_EQ(window.dialogs.last().icon, MsgIcon::Information);
    EXPECT_EQ(whileShown, "0000000 belegt");
    EXPECT_FALSE(window.serial.isOpen());
    EXPECT_EQ(window.enabled(), kAllEnabled);
    EXPECT_FALSE(window.program->serialLinkBusy);

    // A silent station, and the highest serial number in its six hex digits.
    window.serial.onOutput = nullptr;
    window.form.TxtPNLSnr.setText("999999");
    window.test();
    EXPECT_EQ(window.serial.sent[3].bytes, "\x01(0F423F01\x04");
    EXPECT_EQ(window.serial.sent.back().bytes, "\x01(0F423F00\x04");
    EXPECT_EQ(window.dialogs.last().text,
              "Die PNLXXX mit der Seriennr. 999999\n\rwurde nicht am ausgewählten Port gefunden!");
    EXPECT_EQ(window.dialogs.last().icon, MsgIcon::Exclamation);
}

TEST(PortTest, RefusedWhileThePortOrTheLineIsInUse) {
    ProbeWindow window;
    window.ports.inUse = {2};
    window.test();
    EXPECT_EQ(window.dialogs.last().text, "Schnittstelle wird gegenwärtig genutzt. Kein Test möglich!");
    EXPECT_EQ(window.dialogs.last().icon, MsgIcon::Exclamation);

    // A transfer holds the line: the test is refused, not interleaved, and told what holds it.
    window.ports.inUse.clear();
    {
        SerialLinkClaim transfer(*window.program, SerialLinkUse::Transfer);
        window.test();
        EXPECT_EQ(
            window.dialogs.last().text,
            "Die serielle Schnittstelle wird gerade für eine Datenübertragung genutzt. Kein Test möglich!");
        EXPECT_TRUE(window.program->serialLinkBusy);
        EXPECT_EQ(window.enabled(), kAllEnabled);
    }
    EXPECT_TRUE(window.serial.calls.empty());

    // A second click while the probe's pause runs (the window stays live) names the port test.
    window.serial.onOutput = [&](const std::string& bytes) {
        if (bytes == kQuery)
            window.loop.post(10, [&] { window.test(); });
    };
    window.test();
    ASSERT_EQ(window.dialogs.shown.size(), 4u);
    EXPECT_EQ(
        window.dialogs.shown[2].text,
        "Die serielle Schnittstelle wird gerade für einen Schnittstellentest genutzt. Kein Test möglich!");
    EXPECT_EQ(window.serial.sent.size(), 3u);
}

TEST(PortTest, SendsNothingWithoutAStationADeviceOrAnOpenPort) {
    ProbeWindow window;
    window.controller.CmdPNLNeu_Click();
    window.test();
    EXPECT_EQ(window.dialogs.last().text, "Bitte wählen Sie für den Test eine PNLXXX aus!");
    EXPECT_EQ(std::count(window.serial.calls.begin(), window.serial.calls.end(), "open"), 0);
    EXPECT_EQ(window.enabled(), kAllEnabled);

    // "Kein Gerät" only takes the controls away and gives them back.
    window.chooseDevice("Kein Gerät");
    window.test();
    EXPECT_EQ(window.dialogs.shown.size(), 1u);
    EXPECT_EQ(window.enabled(), kAllEnabled);

    // A port that will not open is told apart from a silent station: no station was asked, so no pause.
    window.chooseDevice("PNLXX Abgleich");
    window.chooseStation("Haupteingang");
    window.serial.failOpen = true;
    window.dialogs.whileShown = [&window](const Message&) {
        EXPECT_EQ(window.form.CmdCOMTest.caption(), "Bitte warten …");
    };
    const std::int64_t start = window.loop.now();
    window.test();
    const std::string text = window.dialogs.last().text;
    EXPECT_EQ(text.rfind("Die Schnittstelle COM2 konnte nicht geöffnet werden", 0), 0u) << text;
    EXPECT_NE(text.find("Die PNL wurde nicht gesucht."), std::string::npos) << text;
    EXPECT_EQ(window.loop.now(), start);
    EXPECT_EQ(window.enabled(), kAllEnabled);
    EXPECT_EQ(window.form.CmdCOMTest.caption(), "Testen");
    EXPECT_TRUE(window.serial.sent.empty());
}

// The sample installation (link on COM1, PNL00 with serial number 012345) with COM1 mapped to a
// pseudo-terminal whose other side is the simulator.
struct PtyInstallation {
    explicit PtyInstallation(sim::AnswerSetup answer = {})
        : simulator(loop, sim::SimulatorSetup{{{12345}}, answer, std::nullopt}) {
        std::string error;
        EXPECT_TRUE(writeSampleInstallation(folder.path(), &error)) << error;
        pty = PseudoTerminal::open(&error);
        EXPECT_TRUE(pty) << error;
        if (!pty)
            return;
        ports.map(1, pty->slavePath());
        options.lockFolder = locks.path();
        serial = makePosixSerialPort(loop, ports, options);
        queries = makePosixPortQueries(ports, options);
        program = std::make_unique<Program>(Platform{fs, loop, dialogs, *serial, *queries}, folder.path());
        simulator.setOutput([this](const std::string& bytes) { pty->write(bytes); });
        watch = loop.watchReadable(pty->masterFd(), [this] { simulator.receive(pty->readAvailable()); });
    }
    ~PtyInstallation() {
        if (watch)
            loop.unwatch(watch);
    }

    TempFolder folder, locks;
    PollEventLoop loop;
    PosixFileSystem fs;
    ScriptedDialogs dialogs;
    sim::Simulator simulator;
    std::unique_ptr<PseudoTerminal> pty;
    PortMap ports;
    PosixSerialOptions options;
    std::unique_ptr<SerialPort> serial;
    std::unique_ptr<PortQueries> queries;
    std::unique_ptr<Program> program;
    int watch = 0;
};

TEST(ProbeOverPseudoTerminal, PortTestFindsTheStationAndGivesThePortBack) {
    PtyInstallation pty;
    ASSERT_TRUE(pty.program);
    pty.program->InitX.setFileName(pty.program->path(kSettingsFile));
    FrmCOM form;
    FrmCOMController controller(*pty.program, form);
    controller.Form_Load();
    form.CboCOMs.setListIndex(form.CboCOMs.findText("COM1"));
    controller.CboCOMs_Click();
    form.CboPNLBez.setListIndex(form.CboPNLBez.findText("Haupteingang"));
    controller.CboPNLBez_Click();

    controller.CmdCOMTest_Click();
    ASSERT_EQ(pty.dialogs.shown.size(), 1u);
    EXPECT_EQ(pty.dialogs.last().text,
              "Die PNLXXX mit der Seriennr. 012345\n\rwurde am ausgewählten Port gefunden!");
    EXPECT_FALSE(pty.serial->isOpen());
    EXPECT_TRUE(form.CmdCOMTest.enabled() && form.CboCOMs.enabled() && form.CmdPNLSave.enabled());
    // The station was opened and queried, with nothing it could not read.
    bool settled = false;
    pty.loop.startTimer(std::chrono::milliseconds(200), false, [&] { settled = true; });
    pty.loop.processEventsUntil([&] { return settled; });
    const auto frames = pty.simulator.framesOf(12345);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].code, "01");
    EXPECT_EQ(frames[1].kind, sim::Frame::Kind::Query);
    EXPECT_EQ(frames[2].code, "00");  // the closing frame survives the port's close
    EXPECT_TRUE(pty.simulator.malformed().empty());
    // Nothing holds the port any more.
    EXPECT_EQ(pty.queries->status(1), 0);
}

TEST(ProbeOverPseudoTerminal, HeadlessProbeSeesAWrongAnswerAndAPortHeldElsewhere) {
    PtyInstallation pty({.wrongStar = true});
    ASSERT_TRUE(pty.program);
    std::ostringstream out;
    const auto noPrompt = [](const std::string&) { return std::optional<std::string>(); };
    EXPECT_EQ(RunProbeCommand(*pty.program, "0", "5", out, noPrompt), kProbeNotFound);
    EXPECT_NE(out.str().find("wurde nicht am ausgewählten Port gefunden!"), std::string::npos);

    // Another program holds the port: refused before anything is sent.
    auto other = makePosixSerialPort(pty.loop, pty.ports, pty.options);
    other->setCommPort(1);
    std::string error;
    ASSERT_TRUE(other->open(&error)) << error;
    const auto framesBefore = pty.simulator.framesOf(12345).size();
    out.str("");
    EXPECT_EQ(RunProbeCommand(*pty.program, "0", "5", out, noPrompt), kProbeCouldNotRun);
    // The message names the lock file that holds it.
    EXPECT_EQ(out.str(), "Schnittstelle wird gegenwärtig genutzt. Kein Test möglich!\n(Sperrdatei " +
                             serial_lock::lockFilePath(pty.options.lockFolder, pty.ports.pathOf(1)) + ")\n");
    other->close();
    pty.loop.processEventsUntil([] { return true; });
    EXPECT_EQ(pty.simulator.framesOf(12345).size(), framesBefore);
}

}  // namespace
}  // namespace pnl::test
