// The port test of the interface window on virtual time, and the probe over a real pseudo-terminal.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/probe_command.h"
#include "interfaces/port_test.h"
#include "link/serial_link_claim.h"
#include "platform/poll_event_loop.h"
#include "platform/posix_serial.h"
#include "platform/pseudo_terminal.h"
#include "platform/serial_lock.h"
#include "support/interface_window_scene.h"
#include "tools/sample/sample_installation.h"
#include "tools/station_sim/simulator.h"

namespace pnl::test {
namespace {

const std::string kOpen = "\x01(01E24001\x04";
const std::string kQuery = "\x01*0000\x04";
const std::string kAnswer = "?*23456789012345678";
const std::string kAllEnabled = "1111111";
// No station to look for: only "Testen" is off.
const std::string kNoTest = "0111111";

// The interface window on COM2, the station link, with station 123456 chosen.
struct ProbeWindow : InterfaceWindowScene {
    ProbeWindow()
        : InterfaceWindowScene(
              "[Schnittstellen]\r\nCOM2=30,FALSE\r\n[PNLXXX]\r\nPNL00=PNL-B,Haupteingang,123456,,FALSE\r\n") {
        choosePort("COM2");
        chooseStation("Haupteingang");
    }
    // Which of the buttons and lists the port test takes away are enabled, one digit each.
    std::string enabled() const {
        std::string digits;
        for (const Control* control : std::initializer_list<const Control*>{
                 &form.testStation, &form.portChoice, &form.deviceKind, &form.savePort, &form.newStation,
                 &form.saveStation, &form.deleteStation})
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

    std::string sent;  // what left when, in ms from the click: the query pause runs its full 2000 ms
    for (const auto& s : window.serial.sent)
        sent += std::to_string(s.atMs - start) + ":" + s.bytes + " ";
    EXPECT_EQ(sent, "0:" + kOpen + " 600:" + kQuery + " 2600:\x01(01E24000\x04 ");
    EXPECT_EQ(window.serial.calls, (std::vector<std::string>{"port 2", "settings 9600,N,8,1", "dtr off",
                                                             "rts off", "handshake 0", "open", "close"}));
    ASSERT_EQ(window.dialogs.shown.size(), 1u);
    EXPECT_EQ(window.dialogs.last().text,
              "Die PNLXXX mit der Seriennr. 123456\n\rwurde am ausgewählten Port gefunden!");
    EXPECT_EQ(window.dialogs.last().icon, MsgIcon::Information);
    EXPECT_EQ(whileShown, "0000000 belegt");
    EXPECT_EQ(window.enabled(), kAllEnabled);

    // A silent station, and the highest serial number in its six hex digits.
    window.serial.onOutput = nullptr;
    window.form.stationSerial.setText("999999");
    window.test();
    ASSERT_EQ(window.serial.sent.size(), 6u);
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
    window.controller.newStation();
    EXPECT_EQ(window.enabled(), kNoTest);
    // A click that reaches the handler anyway is told, and sends nothing.
    window.test();
    EXPECT_EQ(window.dialogs.last().text, "Bitte wählen Sie für den Test eine PNLXXX aus!");
    EXPECT_EQ(std::count(window.serial.calls.begin(), window.serial.calls.end(), "open"), 0);
    EXPECT_EQ(window.enabled(), kNoTest);

    // "Kein Gerät" only takes the controls away and gives them back.
    window.chooseDevice("Kein Gerät");
    window.test();
    EXPECT_EQ(window.dialogs.shown.size(), 1u);
    EXPECT_EQ(window.enabled(), kNoTest);

    // A port that will not open is told apart from a silent station: no station was asked, so no pause.
    window.chooseDevice("PNLXX Abgleich");
    window.chooseStation("Haupteingang");
    window.serial.failOpen = true;
    window.dialogs.whileShown = [&window](const Message&) {
        EXPECT_EQ(window.form.testStation.caption(), "Bitte warten …");
    };
    const std::int64_t start = window.loop.now();
    window.test();
    const std::string text = window.dialogs.last().text;
    EXPECT_EQ(text.rfind("Die Schnittstelle COM2 konnte nicht geöffnet werden", 0), 0u) << text;
    EXPECT_NE(text.find("Die PNL wurde nicht gesucht."), std::string::npos) << text;
    EXPECT_EQ(window.loop.now(), start);
    EXPECT_EQ(window.enabled(), kAllEnabled);
    EXPECT_EQ(window.form.testStation.caption(), "Testen");
    EXPECT_TRUE(window.serial.sent.empty());
}

// The sample installation with COM1 mapped to a pseudo-terminal whose other side is the simulator: the window
// finds PNL00, the headless probe misses PNL01 (not simulated) and is refused a port another program holds.
TEST(ProbeOverPseudoTerminal, FindsTheStationAndGivesThePortBack) {
    TempFolder folder, locks;
    PollEventLoop loop;
    PosixFileSystem fs;
    ScriptedDialogs dialogs;
    sim::Simulator simulator(loop, sim::SimulatorSetup{{{12345}}, {}, std::nullopt});
    std::string error;
    ASSERT_TRUE(writeSampleInstallation(folder.path(), &error)) << error;
    const auto pty = PseudoTerminal::open(&error);
    ASSERT_TRUE(pty) << error;
    TestPortDevices devices;
    PortMap& ports = devices.map;
    ports.map(1, pty->slavePath());
    PosixSerialOptions options;
    options.lockFolder = locks.path();
    const auto serial = makePosixSerialPort(loop, ports, options);
    const auto queries = makePosixPortQueries(ports, options);
    Program program(Platform{fs, loop, dialogs, *serial, *queries}, folder.path());
    simulator.setOutput([&pty](const std::string& bytes) { pty->write(bytes); });
    const int watch = loop.watchReadable(pty->masterFd(), [&] { simulator.receive(pty->readAvailable()); });

    program.settings.setFileName(program.path(kSettingsFile));
    InterfaceWindowForm form;
    InterfaceWindowController controller(program, form, devices.services);
    controller.load();
    form.portChoice.setListIndex(form.portChoice.findText("COM1"));
    controller.portChosen();
    form.stationChoice.setListIndex(form.stationChoice.findText("Haupteingang"));
    controller.stationChosen();
    controller.testStation();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.last().text,
              "Die PNLXXX mit der Seriennr. 012345\n\rwurde am ausgewählten Port gefunden!");
    EXPECT_FALSE(serial->isOpen());
    // The station was opened and queried, with nothing it could not read.
    bool settled = false;
    loop.startTimer(std::chrono::milliseconds(200), false, [&] { settled = true; });
    loop.processEventsUntil([&] { return settled; });
    const auto frames = simulator.framesOf(12345);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].code, "01");
    EXPECT_EQ(frames[1].kind, sim::Frame::Kind::Query);
    EXPECT_EQ(frames[2].code, "00");  // the closing frame survives the port's close
    EXPECT_TRUE(simulator.malformed().empty());
    EXPECT_EQ(queries->status(1), 0);  // nothing holds the port any more

    std::ostringstream out;
    const auto noPrompt = [](const std::string&) { return std::optional<std::string>(); };
    EXPECT_EQ(RunProbeCommand(program, "1", "5", out, noPrompt), kProbeNotFound);  // not simulated
    EXPECT_NE(out.str().find("wurde nicht am ausgewählten Port gefunden!"), std::string::npos);
    auto other = makePosixSerialPort(loop, ports, options);
    other->setCommPort(1);
    ASSERT_TRUE(other->open(&error)) << error;
    out.str("");
    EXPECT_EQ(RunProbeCommand(program, "0", "5", out, noPrompt), kProbeCouldNotRun);
    EXPECT_EQ(out.str(), "Schnittstelle wird gegenwärtig genutzt. Kein Test möglich!\n(Sperrdatei " +
                             serial_lock::lockFilePath(options.lockFolder, ports.pathOf(1)) + ")\n");
    other->close();
    loop.processEventsUntil([] { return true; });
    EXPECT_EQ(simulator.framesOf(12345).size(), 3u);  // nothing sent
    loop.unwatch(watch);
}

}  // namespace
}  // namespace pnl::test
