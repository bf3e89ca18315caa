#include "interfaces/frm_com_controller.h"

#include "forms/frm_com.h"
#include "interfaces/interface_editor.h"
#include "interfaces/interface_save.h"
#include "porttest/port_test.h"
#include "stations/station_frame.h"

namespace pnl {

void FrmCOMController::Form_Load() {
    BuildDeviceList(form_);
    EnumeratePorts(form_);
    // No port chosen: no page, whatever the window showed when it was last open.
    ShowDevicePage(program_, form_);
    devices_.windowOpened();
}

void FrmCOMController::CboCOMs_Click() {
    BuildDeviceList(form_);
    LoadPortRecord(program_, form_);
    devices_.showSlot();
}

void FrmCOMController::CboCOMDev_Click() {
    ShowDevicePage(program_, form_);
}

void FrmCOMController::CmdCOMSave_Click() {
    SaveInterface(program_, form_);
}

void FrmCOMController::CmdCOMTest_Click() {
    PortTest(program_, form_);
}

void FrmCOMController::ChkPNLModem_Click() {
    ApplyModemRule(form_);
}

void FrmCOMController::CboPNLBez_Click() {
    SelectStation(program_, form_);
}

void FrmCOMController::CboPNLType_Click() {
    ApplyTypeRule(form_);
}

void FrmCOMController::TxtPNLSnr_GotFocus() {
    form_.TxtPNLSnr.setSelStart(0);
}

void FrmCOMController::CmdPNLNeu_Click() {
    NewStation(program_, form_);
}

void FrmCOMController::CmdPNLSave_Click() {
    SaveStation(program_, form_);
}

void FrmCOMController::CmdPNLDel_Click() {
    DeleteStation(program_, form_);
}

}  // namespace pnl
