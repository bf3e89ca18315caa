#pragma once
// The name of a resident as the display stations show it. The transfer sends the trimmed name, ", " and the
// trimmed first name, cut to 31 characters; the station's character table then drops what the station cannot
// show. The resident page's line "Anzeige an der PNL:" and the column "Anzeige" of the resident overview both
// show this, marking the dropped characters and the cut.

#include <string>
#include <vector>

#include "app/resident_fields.h"
#include "residents/charset.h"

namespace pnl {

struct StationRecord;

inline constexpr std::size_t kNameChars = 31;

// The name field of a transfer line: "Name, Vorname" (or the name alone), trimmed, without "|" (the line's
// separator), cut to its first 31 characters. Empty when the name is empty.
std::string stationName(const std::string& name, const std::string& firstName);

struct NameDisplay {
    std::string shown;  // the characters the station shows
    std::string
        marked;       // shown, each dropped character struck through, and after "✂" what the cut leaves off
    std::string tip;  // what is dropped and cut, in words; empty when the station shows the name whole
    bool changed() const { return !tip.empty(); }
};

// The name as a station with the given firmware shows it.
NameDisplay displayName(const std::string& name, const std::string& firstName, Firmware firmware);

// The name as the resident's stations show it: with the table of firmware 2.7x when every assigned station
// runs it, else with the current table; when the assigned stations differ, the tip adds what the older ones
// show.
NameDisplay displayName(const std::string& name, const std::string& firstName,
                        const std::vector<StationRecord>& stations, const StationSet& assigned);

}  // namespace pnl
