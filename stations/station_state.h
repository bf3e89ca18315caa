#pragma once
// What the program handed to the line for each display station: after each station transfer it records, in a
// text file per station in the installation folder ("PNL07_STAND.TXT"), which transfer lines it sent when, to
// which serial number and with which character table, and whether the station answered the presence check
// just before. The link is one-way: the record says what left the port, never what the station took. It is
// written "unvollständig" before the first frame goes out and "vollständig" once every frame has left the
// port, so a run that broke off (or a program that was ended) leaves the station marked incomplete. The file
// describes the station, not the run's working copies: it is kept whatever the answer at exit. Format in
// docs/station-state.md.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "residents/charset.h"

namespace pnl {

class Program;

struct StationState {
    bool complete = false;
    DateTime sentAt;
    std::uint32_t serial = 0;
    Firmware firmware = Firmware::V3;
    std::vector<std::string> lines;  // the transfer lines in the order the station numbers them
    // The presence check was on and the station answered it right before its frames were sent.
    bool answeredBeforeSending = false;

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
