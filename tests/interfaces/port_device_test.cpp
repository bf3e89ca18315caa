// The device each port slot stands for: chosen in the interface window from the devices the device manager
// reports (a fake here), remembered per PC and user, and refused with the adapter's name when it is absent.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/list_ports_command.h"
#include "cli/probe_command.h"
#include "cli/transfer_command.h"
#include "link/port_devices.h"
#include "platform/posix_serial.h"
#include "platform/pseudo_terminal.h"
#include "support/interface_window_scene.h"
#include "support/real_time_loop.h"
#include "tools/sample/sample_installation.h"
#include "tools/station_sim/simulator.h"

namespace pnl::test {
namespace {

const std::string kById = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3XYZ-if00-port0";
const std::string kFtdi = "USB-Seriell FTDI FT232R (A10K3XYZ) – ";
const std::string kAbsent =
    "Der USB-Adapter FTDI FT232R (A10K3XYZ) für COM1 ist nicht angeschlossen. Stecken Sie "
    "ihn an oder wählen Sie im Fenster „Schnittstellen“ ein anderes Gerät.";

SerialDevice ftdi(const std::string& path, const std::string& stablePath = kById) {
    return {.path = path,
            .stablePath = stablePath,
            .maker = "FTDI",
            .product = "FT232R",
            .serialNumber = "A10K3XYZ",
            .vendorId = "0403",
            .productId = "6001"};
}

std::vector<std::string> entries(const ComboBox& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.count(); ++i)
        texts.push_back((i == list.listIndex() ? "> " : "  ") + list.items()[i].text);
    return texts;
}

// On the fake device tree: the list follows plugging in and out while the window is open, an adapter is found
// again at another ttyUSBn by its stable path, and every choice is kept in the user's settings, never in
// ANLAGE99.INI.
TEST(PortDevice, ChosenFromTheFoundDevicesByHandOrNoneAndFollowsPlugging) {
    InterfaceWindowScene window;
    const std::string settings = window.settings();
    FakePortDiscovery& discovery = window.devices.discovery;
    discovery.plugged = {{.path = "/dev/ttyS0"}, ftdi("/dev/ttyUSB0")};
    window.controller.load();
    EXPECT_TRUE(entries(window.form.portDevice).empty());
    EXPECT_FALSE(window.form.otherDevice.enabled());

    window.choosePort("COM2");
    EXPECT_EQ(
        entries(window.form.portDevice),
        (std::vector<std::string>{"> Keine Auswahl (/dev/ttyS1)", "  Serielle Schnittstelle – /dev/ttyS0",
                                  "  " + kFtdi + "/dev/ttyUSB0"}));
    window.form.portDevice.setListIndex(2);
    window.controller.deviceChosen();
    EXPECT_EQ(window.devices.map.pathOf(2), kById);
    const std::string file = window.devices.settings.location() + "/schnittstellen";
    std::ostringstream kept;
    kept << std::ifstream(file).rdbuf();
    EXPECT_EQ(kept.str(),
              "# Geräte der Schnittstellen dieses PCs (pnl-setup, Fenster „Schnittstellen“)\nCOM2\t" + kById +
                  "\tFTDI FT232R (A10K3XYZ)\n");

    struct Step {
        std::string name;
        std::function<void()> act;
        std::vector<std::string> shown;
    };
    const SerialDevice ch340{
        .path = "/dev/ttyUSB1", .product = "USB Serial", .vendorId = "1a86", .productId = "7523"};
    const std::vector<Step> steps{
        {"another adapter plugged in",
         [&] { discovery.plug(ch340); },
         {"  Keine Auswahl (/dev/ttyS1)", "  Serielle Schnittstelle – /dev/ttyS0",
          "> " + kFtdi + "/dev/ttyUSB0", "  USB-Seriell USB Serial – /dev/ttyUSB1"}},
        {"the chosen one pulled out",
         [&] { discovery.unplug("/dev/ttyUSB0"); },
         {"> USB-Adapter FTDI FT232R (A10K3XYZ) – nicht angeschlossen", "  Keine Auswahl (/dev/ttyS1)",
          "  Serielle Schnittstelle – /dev/ttyS0", "  USB-Seriell USB Serial – /dev/ttyUSB1"}},
        {"plugged into another socket",
         [&] { discovery.plug(ftdi("/dev/ttyUSB2")); },
         {"  Keine Auswahl (/dev/ttyS1)", "  Serielle Schnittstelle – /dev/ttyS0",
          "  USB-Seriell USB Serial – /dev/ttyUSB1", "> " + kFtdi + "/dev/ttyUSB2"}},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(entries(window.form.portDevice), step.shown) << step.name;
    }
    EXPECT_EQ(window.devices.map.pathOf(2), kById);

    // By hand: a path, or a device of the list by its path (then kept by its stable path); "Keine Auswahl"
    // forgets the choice.
    window.choosePort("COM3");
    window.controller.chooseOtherDevice("dev/pts/7");
    EXPECT_EQ(
        window.dialogs.last().text,
        "„dev/pts/7“ ist kein Gerätepfad. Bitte geben Sie den vollständigen Pfad an, z. B. /dev/ttyUSB0 "
        "oder /dev/pts/3.");
    window.controller.chooseOtherDevice(" /dev/pts/7 ");
    EXPECT_EQ(entries(window.form.portDevice).front(), "> /dev/pts/7 (gewählt)");
    window.choosePort("COM4");
    window.controller.chooseOtherDevice("/dev/ttyUSB2");
    EXPECT_EQ(window.devices.map.chosen(4), (ChosenDevice{kById, "FTDI FT232R (A10K3XYZ)"}));
    window.choosePort("COM2");
    window.form.portDevice.setListIndex(0);
    window.controller.deviceChosen();
    EXPECT_EQ(window.devices.settings.portChoices(),
              (std::map<int, ChosenDevice>{{3, {"/dev/pts/7", ""}}, {4, {kById, "FTDI FT232R (A10K3XYZ)"}}}));
    EXPECT_EQ(window.dialogs.shown.size(), 1u);

    // A device this user may not open: chosen all the same, and told how to get the right.
    discovery.plug({.path = "/dev/ttyACM0",
                    .maker = "Arduino",
                    .product = "Uno",
                    .vendorId = "2341",
                    .productId = "0043",
                    .mayOpen = false,
                    .group = "dialout"});
    window.choosePort("COM5");
    window.form.portDevice.setListIndex(
        window.form.portDevice.findText("USB-Seriell Arduino Uno – /dev/ttyACM0 (keine Berechtigung)"));
    window.controller.deviceChosen();
    EXPECT_EQ(
        window.dialogs.last().text,
        "Sie haben keine Berechtigung, /dev/ttyACM0 zu öffnen: Ihr Benutzer gehört nicht zur Gruppe "
        "„dialout“. Abhilfe: im Terminal „sudo usermod -aG dialout $USER“ eingeben, danach ab- und wieder "
        "anmelden.");
    EXPECT_EQ(window.devices.map.pathOf(5), "/dev/ttyACM0");

    // --port holds for this run: the window shows it and refuses another device.
    window.devices.map.map(6, "/dev/pts/9");
    window.choosePort("COM6");
    EXPECT_EQ(entries(window.form.portDevice),
              std::vector<std::string>{"> /dev/pts/9 (--port, nur für diesen Lauf)"});
    window.controller.chooseOtherDevice("/dev/pts/1");
    EXPECT_EQ(window.dialogs.last().text,
              "COM6 ist für diesen Lauf mit --port auf /dev/pts/9 festgelegt. Starten "
              "Sie das Programm ohne --port, um ein Gerät zu wählen.");

    // The user's settings cannot be replaced: the choice is taken back and told.
    const auto before = window.devices.settings.portChoices();
    std::filesystem::remove(file);
    std::filesystem::create_directories(file + "/held");
    window.choosePort("COM7");
    window.controller.chooseOtherDevice("/dev/pts/4");
    EXPECT_EQ(window.dialogs.last().icon, MsgIcon::Critical);
    EXPECT_EQ(window.dialogs.last().text,
              "Die Geräteauswahl für COM7 konnte nicht gespeichert werden (" +
                  window.devices.settings.location() +
                  "). COM7 steht weiter für /dev/ttyS6 (Standard, nicht vorhanden).");
    EXPECT_EQ(window.devices.map.pathOf(7), "/dev/ttyS6");
    std::filesystem::remove_all(file);

    // Kept by hand, the file may hold anything: only whole slot lines with an absolute path count.
    std::ofstream(file)
        << ("# Kommentar\nCOM1\t/dev/ttyUSB3\tFTDI X\r\nCOM9\t/dev/x\nCOM2\trelativ\nCOM12\t/dev/y\n"
            "COM3\t/dev/pts/2\nkaputt\n\n");
    EXPECT_EQ(window.devices.settings.portChoices(),
              (std::map<int, ChosenDevice>{{1, {"/dev/ttyUSB3", "FTDI X"}}, {3, {"/dev/pts/2", ""}}}));

    std::ostringstream listed;
    EXPECT_EQ(RunListPortsCommand(window.devices.map, discovery, listed), 0);
    EXPECT_EQ(
        listed.str(),
        "Schnittstellen:\n"
        "COM1  Serielle Schnittstelle – /dev/ttyS0 (Standard)\n"
        "COM2  /dev/ttyS1 (Standard, nicht vorhanden)\n"
        "COM3  /dev/pts/7 (gewählt)\n"
        "      gemerkt: /dev/pts/7\n"
        "COM4  " +
            kFtdi +
            "/dev/ttyUSB2\n"
            "      gemerkt: " +
            kById +
            "\n"
            "COM5  USB-Seriell Arduino Uno – /dev/ttyACM0 (keine Berechtigung)\n"
            "      gemerkt: /dev/ttyACM0\n"
            "COM6  /dev/pts/9 (--port, nur für diesen Lauf)\n"
            "COM7  /dev/ttyS6 (Standard, nicht vorhanden)\n"
            "COM8  /dev/ttyS7 (Standard, nicht vorhanden)\n"
            "Gefundene Geräte (4):\n"
            "/dev/ttyS0  Serielle Schnittstelle\n"
            "/dev/ttyUSB1  USB-Seriell: Produkt USB Serial, USB-Kennung 1a86:7523\n"
            "/dev/ttyUSB2  USB-Seriell: Hersteller FTDI, Produkt FT232R, Seriennummer A10K3XYZ, USB-Kennung "
            "0403:6001\n"
            "      stabiler Pfad: " +
            kById +
            "\n"
            "/dev/ttyACM0  USB-Seriell: Hersteller Arduino, Produkt Uno, USB-Kennung 2341:0043\n"
            "      " +
            noAccessText("/dev/ttyACM0", "dialout") + "\n");

    // ANLAGE99.INI (here its working copy) never changed; a closed window no longer watches.
    EXPECT_EQ(window.settings(), settings);
    EXPECT_EQ(discovery.watching(), 1);
    window.form.setVisible(false);
    EXPECT_EQ(discovery.watching(), 0);
}

// A pseudo-terminal plays the USB adapter, its stable name a link in a folder standing for /dev/serial/by-id:
// chosen as COM1's device in the window (no --port), the port test, the headless probe and the transfer reach
// the simulator behind it. Pulled out, all three refuse naming the adapter and send nothing; found again at
// another ttyUSBn it works again; pulled during a transfer, the station's line failed.
TEST(PortDevice, TheChosenAdapterCarriesProbeAndTransferAndItsAbsenceIsRefused) {
    TempFolder folder, locks, byId;
    std::string error;
    ASSERT_TRUE(writeSampleInstallation(folder.path(), &error, SampleOptions{true, false})) << error;
    const std::string installationFile = folder.path() + "/" + kSettingsFile;
    std::ostringstream original;
    original << std::ifstream(installationFile).rdbuf();
    const auto pty = PseudoTerminal::open(&error);
    ASSERT_TRUE(pty) << error;
    const std::string stable = byId.path() + "/usb-FTDI_FT232R_USB_UART_A10K3XYZ-if00-port0";
    ASSERT_TRUE(pty->link(stable, &error)) << error;

    FastLoop loop(20);
    TestPortDevices devices;
    devices.discovery.plugged = {ftdi(pty->slavePath(), stable)};
    PosixSerialOptions options;
    options.lockFolder = locks.path();
    const auto serial = makePosixSerialPort(loop, devices.map, options);
    const auto queries = makePosixPortQueries(devices.map, options);
    PosixFileSystem fs;
    ScriptedDialogs dialogs;
    Program program(Platform{fs, loop, dialogs, *serial, *queries}, folder.path());
    program.settings.setFileName(installationFile);
    sim::Simulator simulator(loop, sim::SimulatorSetup{{{12345, sim::Firmware::V3}}, {}, std::nullopt});
    simulator.setOutput([&pty](const std::string& bytes) { pty->write(bytes); });
    // Set to pull the adapter once the station has received that many frames.
    std::size_t pullAfter = SIZE_MAX;
    bool pulled = false;
    int watch = 0;
    watch = loop.watchReadable(pty->masterFd(), [&] {
        simulator.receive(pty->readAvailable());
        if (!pulled && simulator.framesOf(12345).size() > pullAfter) {
            pulled = true;
            loop.startTimer(std::chrono::milliseconds(0), false, [&] {
                loop.unwatch(watch);
                pty->closeMaster();
            });
        }
    });

    InterfaceWindowForm form;
    InterfaceWindowController controller(program, form, devices.services);
    controller.load();
    form.portChoice.setListIndex(form.portChoice.findText("COM1"));
    controller.portChosen();
    form.portDevice.setListIndex(form.portDevice.findText(kFtdi + pty->slavePath()));
    controller.deviceChosen();
    form.stationChoice.setListIndex(form.stationChoice.findText("Haupteingang"));
    controller.stationChosen();
    std::ostringstream chosen;
    chosen << std::ifstream(installationFile).rdbuf();
    EXPECT_EQ(chosen.str(), original.str());
    // Another run of the program on this PC finds the choice.
    PortMap nextRun;
    nextRun.setChoices(XdgUserSettings(fs, devices.config.path()).portChoices());
    EXPECT_EQ(nextRun.pathOf(1), stable);

    std::ostringstream out;
    const auto noPrompt = [](const std::string&) { return std::optional<std::string>(); };
    const auto probe = [&] {
        out.str("");
        return RunProbeCommand(program, "0", "5", out, noPrompt);
    };
    const auto transfer = [&] {
        out.str("");
        return RunTransferCommand(program, "0", "5", out, noPrompt, {});
    };
    const std::string found = "Die PNLXXX mit der Seriennr. 012345\n\rwurde am ausgewählten Port gefunden!";
    controller.testStation();
    EXPECT_EQ(dialogs.last().text, found);
    EXPECT_EQ(probe(), kProbeFound) << out.str();
    EXPECT_EQ(transfer(), kTransferAllSent) << out.str();
    ASSERT_TRUE(simulator.directoryOf(12345));
    EXPECT_EQ(simulator.directoryOf(12345)->count, 21);

    // Pulled out: the link is gone, the pseudo-terminal itself is still there and must not be taken instead.
    std::filesystem::remove(stable);
    devices.discovery.unplug(pty->slavePath());
    EXPECT_EQ(form.portDevice.text(), "USB-Adapter FTDI FT232R (A10K3XYZ) – nicht angeschlossen");
    const std::size_t frames = simulator.framesOf(12345).size();
    controller.testStation();
    EXPECT_EQ(dialogs.last().text, "Die Schnittstelle COM1 konnte nicht geöffnet werden:\n\r" + kAbsent +
                                       "\n\rDie PNL wurde nicht gesucht.");
    EXPECT_EQ(probe(), kProbeCouldNotRun);
    EXPECT_EQ(out.str(), kAbsent + " Kein Test möglich!\n");
    EXPECT_EQ(transfer(), kTransferCouldNotRun);
    EXPECT_EQ(out.str(), "Die serielle Schnittstelle COM1 kann nicht geöffnet werden!\n" + kAbsent + "\n");
    loop.processEventsUntil([] { return true; });
    EXPECT_EQ(simulator.framesOf(12345).size(), frames);

    // In another socket it has another ttyUSBn but the same stable name.
    ASSERT_TRUE(pty->link(stable, &error)) << error;
    devices.discovery.plug(ftdi("/dev/ttyUSB7", stable));
    EXPECT_EQ(form.portDevice.text(), kFtdi + "/dev/ttyUSB7");
    EXPECT_EQ(probe(), kProbeFound) << out.str();

    // Pulled out while the station receives its residents.
    pullAfter = simulator.framesOf(12345).size() + 20;
    EXPECT_EQ(transfer(), kTransferSomeFailed) << out.str();
    EXPECT_TRUE(pulled);
    EXPECT_NE(out.str().find("PNL00 \"Haupteingang\": Leitung gestört"), std::string::npos) << out.str();
    std::ostringstream after;
    after << std::ifstream(installationFile).rdbuf();
    EXPECT_EQ(after.str(), original.str());
}

}  // namespace
}  // namespace pnl::test
