#pragma once
// The controller of the interface window: one handler per control event, each calling the editor, save,
// station frame or port test operation. The window binding calls these after a user's action only; what the
// program itself chooses in a list runs the follow-up operation directly.

#include <string>

#include "interfaces/port_device_choice.h"

namespace pnl {

class Program;
struct FrmCOM;

class FrmCOMController {
  public:
    FrmCOMController(Program& program, FrmCOM& form, PortDevices& devices)
        : program_(program), form_(form), devices_(program, form, devices) {}

    // Loading the window (start-up, and each time it opens over the main window): the device list and the
    // present ports, no port chosen, no page.
    void Form_Load();

    void CboCOMs_Click();
    void CboCOMDev_Click();
    void CmdCOMSave_Click();
    void CmdCOMTest_Click();
    void ChkPNLModem_Click();
    void chooseDevice() { devices_.chooseListed(); }
    void refreshDevices() { devices_.refresh(); }
    void chooseOtherDevice(const std::string& path) { devices_.chooseByHand(path); }

    void CboPNLBez_Click();
    void CboPNLType_Click();
    void TxtPNLSnr_GotFocus();
    void CmdPNLNeu_Click();
    void CmdPNLSave_Click();
    void CmdPNLDel_Click();

    Program& program() { return program_; }
    FrmCOM& form() { return form_; }

  private:
    Program& program_;
    FrmCOM& form_;
    PortDeviceChoice devices_;
};

}  // namespace pnl
