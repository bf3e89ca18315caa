#pragma once
// The transfer dialog's handlers: the station tree with each station's state ("gesendet am …, seitdem
// unverändert", "geändert", "nie übertragen", "unvollständig") and the difference of the selected one, the
// run with its status line, "Abbrechen" after the current station, and the summary at the end. The dialog
// cannot be closed while a run is in progress. The stations' directories are built once per opening and again
// only after a run or a change of the residents.

#include "stations/station_directory.h"
#include "stations/transfer_run.h"

namespace pnl {

struct StationDifference;
struct TransferDialogForm;

// The program's own settings, apart from ANLAGE99.INI (which another program shares and which a "Nein" at
// exit discards): whether the transfer dialog checks the stations' presence.
inline constexpr const char* kOwnSettingsFile = "PNLSETUP.INI";
inline constexpr const char* kOwnTransferSection = "Datentransfer";
inline constexpr const char* kPresenceCheckKey = "ErreichbarkeitPruefen";

// What the dialog shows of a run: its controls off from the port's opening, the progress bar while a station
// is sent, the directory of the station being handled, each station's tick taken off once it has been handled
// (a station left out after "Abbrechen" stays ticked), and the status line: a station that failed is told
// there until the next one ends, and a confirmed "Abbrechen" (`*stopping`) until the run ends.
class TransferDialogProgress : public TransferProgress {
  public:
    TransferDialogProgress(TransferDialogForm& form, StationDirectories& directories,
                           const bool* stopping = nullptr)
        : form_(form), directories_(directories), stopping_(stopping) {}

    void portOpened(int port, Ms pause) override;
    void stationStarted(int station, const std::string& label, int records, Ms timeLeft) override;
    void recordWritten(int station, int record, int records, Ms timeLeft) override;
    void sendingStopped(int station) override;
    void stationEnded(int station, const std::string& label, StationOutcome outcome) override;
    void runStatus(const RunStatus& status) override;

  private:
    TransferDialogForm& form_;
    StationDirectories& directories_;
    const bool* stopping_;
    std::string failure_;
};

// The transfer dialog's handlers.
class TransferDialogController {
  public:
    TransferDialogController(Program& program, TransferDialogForm& form)
        : program_(program), form_(form), directories_(program) {}

    // Fills the tree and sets the presence check as it was last chosen for this installation.
    void load();
    // Remembers the choice for the installation.
    void checkPresenceToggled();
    void selectAll();
    void selectNone();
    // Ticks exactly the stations whose state differs from what they would receive.
    void selectChanged();
    // Shows in transferList what the station holds against what it would receive, before anything is sent.
    void stationHighlighted(int index);
    // Idle: closes the dialog. During a run: asks whether to stop after the current station.
    void cancel();
    // Runs the ticked stations; at the end a summary of every station, offering another try of those that
    // failed.
    void startTransfer();

    bool running() const { return running_; }
    // Asked before the window closes by its frame: false while a run is in progress.
    bool closeRequested() const { return !running_; }

  private:
    // One line of stationStates per station of the tree.
    void showStationStates();
    StationDifference differenceOf(int node);

    Program& program_;
    TransferDialogForm& form_;
    StationDirectories directories_;
    bool running_ = false;
    // The station the user highlighted: its difference is shown again once a run ends.
    int highlighted_ = -1;
    bool stopAfterStation_ = false;
};

}  // namespace pnl
