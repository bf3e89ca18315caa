#pragma once
// What a display station holds: after each station transfer the program records, in a text file per station
// in the installation folder ("PNL07_STAND.TXT"), when the station was sent which transfer lines, to which
// serial number and with which character table. The record is written "unvollständig" before the first frame
// goes out and "vollständig" once every frame has left the port, so a run that broke off (or a program that
// was ended) leaves the station marked incomplete. The file describes the station, not the run's working
// copies: it is kept whatever the answer at exit. Format in docs/station-state.md.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/charset.h"
#include "platform/clock.h"

namespace pnl {

class Program;

struct StationState {
    bool complete = false;
    DateTime sentAt;
    std::uint32_t serial = 0;
    Firmware firmware = Firmware::V3;
    std::vector<std::string> lines;  // the transfer lines in the order the station numbers them

    bool operator==(const StationState&) const = default;
};

// "PNL07_STAND.TXT" for 7.
std::string stationStateFile(int station);

std::string formatStationState(int station, const StationState& state);
// Nothing for a text that is not a station state.
std::optional<StationState> parseStationState(const std::string& text);

// Nothing when the station was never sent; an incomplete state without lines when its file is damaged.
std::optional<StationState> readStationState(Program& program, int station);
// Atomically; false and why in *error (German) when the file cannot be written.
bool writeStationState(Program& program, int station, const StationState& state,
                       std::string* error = nullptr);

// "06.12.2026 14:03".
std::string germanDateTime(const DateTime& time);

}  // namespace pnl
