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

InterfaceRecord LoadPortRecord(Program& program, InterfaceWindowForm& form) {
    form.deviceKind.setListIndex(-1);
    InterfaceRecord record = readInterfaceRecord(program, portNumberOf(form.portChoice.text()));
    form.deviceKind.setListIndex(form.deviceKind.findData(record.kind));
    // Also run with no entry chosen, so that the page of the previous port does not stay on show.
    ShowDevicePage(program, form, record);
    return record;
}

void ShowDevicePage(Program& program, InterfaceWindowForm& form, InterfaceRecord& portRecord) {
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
    if (portRecord.kind != kind)
        portRecord = {};
    if (kind != kStationLink)
        return;

    form.pages.setVisible(true);
    form.pages.setTabVisible(InterfaceWindowForm::kStationTab, true);
    form.pages.setTab(InterfaceWindowForm::kStationTab);
    form.viaModem.setChecked(portRecord.modem);
    if (portRecord.modem) {
        form.initString1.setText(portRecord.init1);
        form.initString2.setText(portRecord.init2);
        form.dialPrefix.setText(portRecord.dialPrefix);
    }
    ApplyModemRule(form);
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
