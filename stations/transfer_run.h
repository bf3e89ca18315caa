#pragma once
// The transfer run: finds the port of the station data link, opens it, and sends each chosen station its
// directory, one after the other; then closes the port. The run keeps the serial line for itself from start
// to end (a port test meanwhile is refused).

#include <chrono>
#include <string>
#include <vector>

#include "stations/station_link.h"

namespace pnl {

class Program;

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
        int records = 0;                    // the residents it was to receive
        std::chrono::milliseconds took{0};  // from its start to its end (whole seconds)
    };
    // False when the run did not start: no port for the link, the port could not be opened, or the line was
    // busy.
    bool started = false;
    std::vector<Station> stations;

    bool anyFailed() const;
    // The stations worth another try: those that failed, not those left out by "Abbrechen".
    std::vector<int> failedStations() const;
    // The stations that received their residents.
    std::vector<int> sentStations() const;
};

struct TransferOptions {
    // Before each station on a direct line, the probe's frames ask whether it answers; one that does not gets
    // nothing more.
    bool checkPresence = false;
    // Set during the run ("Abbrechen"): the run ends after the station being sent, never in the middle of
    // one; the stations not sent are reported as such.
    const bool* stopAfterStation = nullptr;
};

// Sends the stations (0..63, in the order given) their directories. The progress hears of every step: the
// port opened, each station's start, records and end (each chosen station ends once), the port closed.
TransferResult TransferRun(Program& program, StationDirectories& directories,
                           const std::vector<int>& stations, TransferProgress* progress = nullptr,
                           const TransferOptions& options = {});

}  // namespace pnl
