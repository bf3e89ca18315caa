#include "interfaces/interface_editor.h"

#include "app/program.h"
#include "app/text.h"
#include "forms/interface_window.h"
#include "interfaces/station_editor.h"
#include "link/interface_record.h"

namespace pnl {

void EnumeratePorts(InterfaceWindowForm& form) {
    form.portChoice.clear();
    for (int port = kFirstPort; port <= kLastPort; ++port)
        form.portChoice.addItem(portName(port));
    form.portChoice.setListIndex(-1);
}

void BuildDeviceList(InterfaceWindowForm& form) {
    form.deviceKind.clear();
    form.deviceKind.addItem(kNoDeviceName, kNoDevice);
    form.deviceKind.addItem(kStationLinkName, kStationLink);
}

void LoadPortRecord(Program& program, InterfaceWindowForm& form) {
    form.deviceKind.setListIndex(-1);
    const int kind = LoadInterfaceRecord(program, portNumberOf(form.portChoice.text()));
    const int entry = form.deviceKind.findData(kind);
    form.deviceKind.setListIndex(entry);
    // Also run with no entry chosen, so that the page of the previous port does not stay on show.
    ShowDevicePage(program, form);
}

void ShowDevicePage(Program& program, InterfaceWindowForm& form) {
    form.pages.setVisible(false);
    for (int tab = 0; tab < static_cast<int>(form.pages.tabs().size()); ++tab)
        form.pages.setTabVisible(tab, false);
    form.testStation.setEnabled(false);
    form.testStation.setTip("");

    const int entry = form.deviceKind.listIndex();
    if (entry < 0)
        return;
    const int kind = form.deviceKind.itemData(entry);
    // Another kind than the recorded one starts from its page's defaults.
    if (DeviceKind(program) != kind)
        program.fieldTable.clear();
    if (kind != kStationLink)
        return;

    form.pages.setVisible(true);
    form.pages.setTabVisible(InterfaceWindowForm::kStationTab, true);
    form.pages.setTab(InterfaceWindowForm::kStationTab);
    const bool modem = upper(program.fieldTable[1]) == "TRUE";
    form.viaModem.setChecked(modem);
    if (modem) {
        form.initString1.setText(program.fieldTable[2]);
        form.initString2.setText(program.fieldTable[3]);
        form.dialPrefix.setText(program.fieldTable[4]);
    }
    ApplyModemRule(form);
    // Reading the station list splits other records: the port's fields have all been taken by now.
    ShowStationList(program, form);
    ApplyTestRule(form);
}

void ApplyModemRule(InterfaceWindowForm& form) {
    const bool modem = form.viaModem.checked();
    form.phoneNumberCaption.setVisible(modem);
    form.phoneNumber.setVisible(modem);
    form.pages.setTabVisible(InterfaceWindowForm::kModemTab, modem);
    form.baudRateCaption.setVisible(false);
    form.baudRate.setVisible(false);
    ApplyTestRule(form);
}

void ApplyTestRule(InterfaceWindowForm& form) {
    const int entry = form.deviceKind.listIndex();
    const bool stationLink = entry >= 0 && form.deviceKind.itemData(entry) == kStationLink;
    const bool modem = form.viaModem.checked();
    form.testStation.setEnabled(stationLink && !modem && !form.stationSerial.empty());
    // A disabled button says why.
    form.testStation.setTip(!stationLink                 ? ""
                            : modem                      ? kTestNeedsDirectLine
                            : form.stationSerial.empty() ? kTestNeedsStation
                                                         : "");
}

}  // namespace pnl
