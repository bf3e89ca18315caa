#pragma once
// How the program's resident columns are encoded: the station assignment in PNL, the second serial number in
// AUSLOESUNG, the access code, the names, and the serial number as the resident list shows it. The resident
// table reads and writes its rows through these.

#include <bitset>
#include <cstdint>
#include <string>

namespace pnl {

inline constexpr int kStationCount = 64;
inline constexpr std::size_t kNameChars50 = 50;
inline constexpr std::int64_t kMaxSerial = 999999;
inline constexpr std::int64_t kMaxCode = 9999;
// The editor's marker for "no row": a new resident, or an ID that could not be read.
inline constexpr const char* kNoRow = "keine";

using StationSet = std::bitset<kStationCount>;

// Always 64 characters "0"/"1"; the leftmost stands for station 0.
std::string encodeStations(const StationSet& stations);
// A blank value assigns nothing; station k is assigned when position k of the value exists and is "1".
// Positions count in the value as stored, as the transfer reads it, so a leading blank never shifts them.
StationSet decodeStations(const std::string& stored);

// ",," followed by the second serial number as exactly six digits (4711 -> ",,004711"; 0, none, ->
// ",,000000"); a larger number keeps its last six digits.
std::string encodeSecondSerial(std::int64_t serial);
// Field 2 of the value list; 0 when it is missing, empty, not a number or outside 1..999999 (no number).
std::int64_t decodeSecondSerial(const std::string& stored);

// Only 1..9999 is an access code; anything else, also a text that is no number, reads as 0 (no code).
std::int64_t decodeCode(const std::string& stored);

// Text entered for a name or an apartment number, made fit for the table and the resident list: invalid UTF-8
// bytes are taken as the Latin-1 characters they most likely were, every control character (line breaks,
// tabs, C1 controls) and every code point that UTF-8 cannot carry becomes a blank. Then leading and trailing
// blanks are removed.
std::string cleanText(const std::string& typed);
// A name as stored: cleaned, at most 50 characters.
std::string storedName(const std::string& typed);
// "Müller, Anna" as messages and lists name a resident; the name alone when there is no first name.
std::string fullName(const std::string& name, const std::string& firstName);

// The serial number as the list shows it: six digits with leading zeros (4711 -> "004711"), so that the
// sorted list orders numerically. A value beyond six digits is shown whole rather than cut, so it stays
// findable.
std::string listedSerial(std::int64_t serial);

}  // namespace pnl
