#include "interfaces/interface_editor.h"

#include "app/program.h"
#include "app/text.h"
#include "forms/frm_com.h"
#include "link/interface_record.h"
#include "stations/station_frame.h"

namespace pnl {

void EnumeratePorts(FrmCOM& form) {
    form.CboCOMs.clear();
    for (int port = kFirstPort; port <= kLastPort; ++port)
        form.CboCOMs.addItem(portName(port));
    form.CboCOMs.setListIndex(-1);
}

void BuildDeviceList(FrmCOM& form) {
    form.CboCOMDev.clear();
    form.CboCOMDev.addItem(kNoDeviceName, kNoDevice);
    form.CboCOMDev.addItem(kStationLinkName, kStationLink);
}

void LoadPortRecord(Program& program, FrmCOM& form) {
    form.CboCOMDev.setListIndex(-1);
    const int kind = LoadInterfaceRecord(program, portNumberOf(form.CboCOMs.text()));
    const int entry = form.CboCOMDev.findData(kind);
    form.CboCOMDev.setListIndex(entry);
    // Also run with no entry chosen, so that the page of the previous port does not stay on show.
    ShowDevicePage(program, form);
}

void ShowDevicePage(Program& program, FrmCOM& form) {
    form.SSTabCOMs.setVisible(false);
    for (int tab = 0; tab < static_cast<int>(form.SSTabCOMs.tabs().size()); ++tab)
        form.SSTabCOMs.setTabVisible(tab, false);
    form.CmdCOMTest.setEnabled(false);

    const int entry = form.CboCOMDev.listIndex();
    if (entry < 0)
        return;
    const int kind = form.CboCOMDev.itemData(entry);
    // Another kind than the recorded one starts from its page's defaults.
    if (DeviceKind(program) != kind)
        program.FieldTable.clear();
    if (kind != kStationLink)
        return;

    form.CmdCOMTest.setEnabled(true);
    form.SSTabCOMs.setVisible(true);
    form.SSTabCOMs.setTabVisible(FrmCOM::kStationTab, true);
    form.SSTabCOMs.setTab(FrmCOM::kStationTab);
    const bool modem = upper(program.FieldTable[1]) == "TRUE";
    form.ChkPNLModem.setChecked(modem);
    if (modem) {
        form.TxtModemINI1.setText(program.FieldTable[2]);
        form.TxtModemINI2.setText(program.FieldTable[3]);
        form.TxtMdmAnwahl.setText(program.FieldTable[4]);
    }
    ApplyModemRule(form);
    // Reading the station list splits other records: the port's fields have all been taken by now.
    ShowStationList(program, form);
}

void ApplyModemRule(FrmCOM& form) {
    const bool modem = form.ChkPNLModem.checked();
    form.LblPNLModem.setVisible(modem);
    form.TxtPNLModem.setVisible(modem);
    form.SSTabCOMs.setTabVisible(FrmCOM::kModemTab, modem);
    form.LblMdmBaud.setVisible(false);
    form.CboModemBaud.setVisible(false);
    form.CmdCOMTest.setEnabled(!modem);
    // A disabled button says why.
    form.CmdCOMTest.setTip(modem ? kTestNeedsDirectLine : "");
}

}  // namespace pnl
