#include "interfaces/port_test.h"

#include "app/program.h"
#include "app/text.h"
#include "forms/interface_window.h"
#include "interfaces/interface_editor.h"
#include "link/interface_record.h"
#include "link/serial_link_claim.h"
#include "link/station_probe.h"

namespace pnl {

namespace {

void setTestControls(InterfaceWindowForm& form, bool on) {
    form.testStation.setEnabled(on);
    form.portChoice.setEnabled(on);
    form.deviceKind.setEnabled(on);
    form.savePort.setEnabled(on);
    form.portDevice.setEnabled(on);
    form.otherDevice.setEnabled(on);
}

void setStationButtons(InterfaceWindowForm& form, bool on) {
    form.deleteStation.setEnabled(on);
    form.newStation.setEnabled(on);
    form.saveStation.setEnabled(on);
}

}  // namespace

void PortTest(Program& program, InterfaceWindowForm& form) {
    const int port = portNumberOf(form.portChoice.text());
    if (port == 0)
        return;
    if (SerialLinkInUse(program)) {
        program.msgBox(LinkBusyMessage(program), MsgIcon::Exclamation);
        return;
    }
    if (program.ports.status(port) == kPortInUse) {
        program.msgBox(PortInUseMessage(program, port), MsgIcon::Exclamation);
        return;
    }
    SerialLinkClaim claim(program, SerialLinkUse::PortTest);
    setTestControls(form, false);
    // The probe takes a few seconds: the button says what goes on meanwhile.
    form.testStation.setCaption(kTestRunningCaption);
    const int entry = form.deviceKind.listIndex();
    if (entry >= 0 && form.deviceKind.itemData(entry) == kStationLink)
        StationProbe(program, form, port);
    if (program.serial.isOpen())
        program.serial.close();
    form.testStation.setCaption("Testen");
    setTestControls(form, true);
    ApplyTestRule(form);
}

void StationProbe(Program& program, InterfaceWindowForm& form, int port) {
    const std::string serialText = form.stationSerial.text();
    if (serialText.empty()) {
        program.msgBox("Bitte wählen Sie für den Test eine PNLXXX aus!", MsgIcon::Exclamation);
        return;
    }
    setStationButtons(form, false);
    std::string why;
    if (!PreparePort(program, port, kProbeLineSettings, false, false, 0, &why)) {
        // Not the same as a station that does not answer: the station was never asked.
        program.msgBox("Die Schnittstelle COM" + std::to_string(port) + " konnte nicht geöffnet werden" +
                           (why.empty() ? "." : ":\n\r" + why) + "\n\rDie PNL wurde nicht gesucht.",
                       MsgIcon::Exclamation);
        setStationButtons(form, true);
        return;
    }
    ProbeStationOnLine(program, static_cast<std::uint32_t>(leadingNumber(serialText)), [&](bool found) {
        program.msgBox(ProbeMessage(serialText, found), found ? MsgIcon::Information : MsgIcon::Exclamation);
    });
    setStationButtons(form, true);
}

}  // namespace pnl
