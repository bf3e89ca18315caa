// The probe over a real pseudo-terminal, on real time, with the POSIX serial adapter and a simulated station
// on the terminal's other side.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/probe_command.h"
#include "forms/frm_com.h"
#include "interfaces/frm_com_controller.h"
#include "platform/poll_event_loop.h"
#include "platform/posix_serial.h"
#include "platform/pseudo_terminal.h"
#include "platform/serial_lock.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"
#include "tools/station_sim/simulator.h"

namespace pnl::test {
namespace {

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
