#pragma once
// The transfer run: finds the port of the station data link, opens it, and sends every ticked station of the
// transfer dialog its residents, one after the other; then closes the port. The run keeps the serial line for
// itself from start to end (a port test meanwhile is refused) and the dialog cannot be closed while it runs.

#include <string>
#include <vector>

#include "stations/station_link.h"

namespace pnl {

class Program;
struct FrmPNL;

inline constexpr int kPauseBeforeStations = 22000;
inline constexpr int kPauseAfterStations = 15000;
inline constexpr const char* kTransferLineSettings = "9600,N,8,1";
// Handshake modes of the serial port: RTS/CTS together with XON/XOFF through a modem, none on a direct line.
inline constexpr int kModemHandshake = 3;
inline constexpr int kDirectHandshake = 0;

struct TransferResult {
    struct Station {
        int number = 0;
        std::string label;
        StationOutcome outcome = StationOutcome::Sent;
    };
    // False when the run did not start: no port for the link, the port could not be opened, or the line was
    // busy.
    bool started = false;
    std::vector<Station> stations;

    bool anyFailed() const;
};

// Fills TrVwPNLTrans with one unticked node per station with a label: key "S" and the two-digit number.
void FillTransferTree(Program& program, FrmPNL& form);

TransferResult TransferRun(Program& program, FrmPNL& form, TransferProgress* progress = nullptr);

// The transfer dialog's handlers.
class FrmPnlController {
  public:
    FrmPnlController(Program& program, FrmPNL& form) : program_(program), form_(form) {}

    void Form_Load();
    void CmdPNLTransAll_Click();
    // Closes the dialog; does nothing while a run is in progress.
    void CmdPNLTransCancel_Click();
    void CmdPNLTransStart_Click();

    bool running() const { return running_; }
    // Asked before the window closes by its frame: false while a run is in progress.
    bool Form_QueryUnload() const { return !running_; }

  private:
    Program& program_;
    FrmPNL& form_;
    bool running_ = false;
};

}  // namespace pnl
