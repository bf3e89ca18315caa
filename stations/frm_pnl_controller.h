#pragma once
// The transfer dialog's handlers: the station tree with each station's state ("gesendet am …, seitdem
// unverändert", "geändert", "nie übertragen", "unvollständig") and the difference of the selected one, the
// run with its status line, "Abbrechen" after the current station, and the summary at the end. The dialog
// cannot be closed while a run is in progress.

#include "stations/transfer_run.h"

namespace pnl {

// The program's own settings, apart from ANLAGE99.INI (which another program shares and which a "Nein" at
// exit discards): whether the transfer dialog checks the stations' presence.
inline constexpr const char* kOwnSettingsFile = "PNLSETUP.INI";
inline constexpr const char* kOwnTransferSection = "Datentransfer";
inline constexpr const char* kPresenceCheckKey = "ErreichbarkeitPruefen";

// The transfer dialog's handlers.
class FrmPnlController {
  public:
    FrmPnlController(Program& program, FrmPNL& form) : program_(program), form_(form) {}

    // Fills the tree and sets the presence check as it was last chosen for this installation.
    void Form_Load();
    // Remembers the choice for the installation.
    void ChkPNLCheck_Click();
    void CmdPNLTransAll_Click();
    // Ticks exactly the stations whose state differs from what they would receive.
    void CmdPNLTransChanged_Click();
    // Shows in LstPNLTrans what the station holds against what it would receive, before anything is sent.
    void TrVwPNLTrans_NodeSelect(int index);
    // Idle: closes the dialog. During a run: asks whether to stop after the current station.
    void CmdPNLTransCancel_Click();
    // Runs the ticked stations; at the end a summary of every station, offering another try of those that
    // failed.
    void CmdPNLTransStart_Click();

    bool running() const { return running_; }
    // Asked before the window closes by its frame: false while a run is in progress.
    bool Form_QueryUnload() const { return !running_; }

  private:
    // One line of LstPNLState per station of the tree.
    void showStationStates();

    Program& program_;
    FrmPNL& form_;
    bool running_ = false;
    bool stopAfterStation_ = false;
};

}  // namespace pnl
