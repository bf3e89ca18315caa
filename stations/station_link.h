#pragma once
// The transfer of one station's directory over the open station link: modem call (when the link uses a
// modem), opening select frame, seven write frames per resident image, the header block with the record
// count, closing select frame, hang-up. The link is one-way: frames are paced by fixed pauses that start when
// the frame has been handed to the port (its time on the wire passes inside the pause; the port hands over
// the next frame only once the one before has left); nothing is read back but the modem's carrier after
// dialling.

#include <chrono>
#include <string>

#include "link/interface_record.h"
#include "stations/station_directory.h"

namespace pnl {

class Program;

// Pauses after each step, in milliseconds.
inline constexpr int kPauseAfterOpen = 600;
inline constexpr int kPauseAfterBlock = 50;
inline constexpr int kPauseAfterHeader = 500;
inline constexpr int kPauseAfterClose = 5000;
inline constexpr int kPauseAfterModemInit = 2000;
inline constexpr int kPauseAfterDial = 30000;
inline constexpr int kPauseAfterHangUp = 3000;
// Every command to the modem ends with line feed, carriage return (in this order).
inline constexpr const char* kModemLineEnd = "\n\r";

enum class StationOutcome {
    Sent,            // every frame went out
    NothingToSend,   // no resident assigned: nothing was sent, as intended
    Skipped,         // the station's record was emptied since the dialog was loaded
    TooManyRecords,  // more residents than the station's memory holds: refused, nothing sent
    NoCarrier,       // the modem call failed: nothing was sent after dialling
    LineFailed,      // the port stopped taking bytes: the station got an incomplete directory
    NotPresent,      // the presence check found no answer: nothing was sent after the probe's frames
    NotSent,         // the run was stopped ("Abbrechen") before this station
    // Its state file could not be marked incomplete: nothing was sent, so the file still tells what it holds.
    StateNotSaved,
    // Every frame went out, but its state file could not be marked complete: it still says incomplete.
    SentStateNotSaved,
};
// True for the outcomes that leave the station without the directory it should have.
bool failed(StationOutcome outcome);

// Follows a transfer: the dialog shows its progress bar, status line and ticks from these, the headless run
// prints them.
class TransferProgress {
  public:
    using Ms = std::chrono::milliseconds;
    virtual ~TransferProgress() = default;
    // The port is open; the run now waits before the first station.
    virtual void portOpened(int /*port*/, Ms /*pause*/) {}
    virtual void stationStarted(int /*station*/, const std::string& /*label*/, int /*records*/,
                                Ms /*timeLeft*/) {}
    // After each record; `timeLeft` is what the station's remaining frames and pauses take.
    virtual void recordWritten(int /*station*/, int /*record*/, int /*records*/, Ms /*timeLeft*/) {}
    // The station transfer announced by stationStarted has stopped, sent or not; before anything is told
    // about it.
    virtual void sendingStopped(int /*station*/) {}
    // Why the station failed (its line, its state file): told in the status line and the summary, never in a
    // box, so that an unattended run goes on.
    virtual void stationFailed(const std::string& /*text*/) {}
    // After every ticked station, whatever happened to it.
    virtual void stationEnded(int /*station*/, const std::string& /*label*/, StationOutcome /*outcome*/) {}
    // The port is closed; the run waits once more before it ends.
    virtual void portClosed(int /*port*/, Ms /*pause*/) {}
    // The whole run's state, from the port's opening on: at every step above and every second in between.
    virtual void runStatus(const struct RunStatus& /*status*/) {}
};

struct RunStatus {
    enum class Phase { Waiting, Station, Closing };
    Phase phase = Phase::Waiting;
    int position = 0, stations = 0;  // the station's place among the chosen ones, from 1
    std::string label;
    int record = 0, records = 0;
    std::chrono::milliseconds waitLeft{0};  // Waiting, Closing: what is left of the pause
    std::chrono::milliseconds runLeft{0};   // the whole run, pauses and modem calls included
};

// What a station transfer of `records` residents takes from its start: its pauses (the frames cross the line
// inside them); nothing for a station that gets nothing.
std::chrono::milliseconds stationTransferTime(int records, bool modem);

// The time the rest of a station transfer takes after `recordsDone` of `records` records were written: its
// pauses, inside which every frame crosses a 9600-baud line.
std::chrono::milliseconds transferTimeLeft(int records, int recordsDone, bool modem);

// Transfers the directory to the station (0..63) on the open port, with the station's record as it reads now.
// Tells its progress while it runs. A failed modem call shows "Keine Modemverbindung!" and sends nothing more
// to the station; a station with more residents than fit into its memory is refused with a message and gets
// nothing, and so is a station whose state file cannot be written before the first frame. The station's
// state records what was sent, and `answeredBeforeSending` (the presence check's answer just before).
StationOutcome StationTransfer(Program& program, const StationDirectory& directory, const TransferLink& link,
                               int station, TransferProgress* progress = nullptr,
                               bool answeredBeforeSending = false);

}  // namespace pnl
