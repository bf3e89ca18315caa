#pragma once
// The difference between what a station was last sent (its recorded state) and what it would receive now:
// "gesendet am …, seitdem unverändert", "geändert" with the new, removed and changed residents, "nie
// übertragen" or "unvollständig". The link is one-way, so an unchanged station is never called current: the
// program only knows what it sent, and whether the station answered the presence check before.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "stations/station_directory.h"
#include "stations/station_state.h"

namespace pnl {

class Program;

enum class StationStatus { Current, Changed, NeverSent, Incomplete };

struct StationDifference {
    StationStatus status = StationStatus::NeverSent;
    std::optional<DateTime> lastSent;
    std::vector<std::string> added, removed;                   // transfer lines
    std::vector<std::pair<std::string, std::string>> changed;  // held line, line it would receive
    // The serial number or the character table of the station record differs from the recorded ones.
    bool recordChanged = false;
    // The station answered the presence check right before it was last sent.
    bool answeredBeforeSending = false;

    // True when a transfer would change what the station holds (a station never sent that would receive
    // nothing does not count).
    bool differs() const {
        return status == StationStatus::NeverSent ? !added.empty() : status != StationStatus::Current;
    }
};

// A resident whose line differs but who keeps either the name or the apartment number and first serial
// number is "changed"; other lines are new or removed.
StationDifference compareStation(const std::optional<StationState>& held, std::uint32_t serial,
                                 Firmware firmware, const std::vector<std::string>& lines);

// The station's recorded state and record against the directory it would receive now.
StationDifference StationDifferenceOf(Program& program, int station, const StationDirectory& directory);

// Those of the stations whose state differs from what they would receive, in their order.
std::vector<int> ChangedStations(Program& program, StationDirectories& directories,
                                 const std::vector<int>& stations);

// "gesendet am 06.12.2026 14:03, seitdem unverändert" (with "; Station hat vor dem Senden geantwortet" when
// it answered the presence check), "geändert (1 neu, 0 entfernt, 2 geändert)", "nie übertragen",
// "unvollständig".
std::string statusText(const StationDifference& difference);
// One line per new, removed or changed resident: "neu: …", "entfernt: …", "geändert: … -> …".
std::vector<std::string> differenceLines(const StationDifference& difference);
// The same for a list that shows a transfer line's fields in columns: a changed resident is one row whose
// changed fields read "bisher: … → jetzt: …" ("bisher: Weiss, Gerd → jetzt: Weiß, Gerd"), its name
// "geändert: …" when only other fields changed.
std::vector<std::string> differenceRows(const StationDifference& difference);

}  // namespace pnl
