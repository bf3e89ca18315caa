#pragma once
// The transfer lines of a station: one line per resident assigned to it, five fields joined by "|" (name,
// apartment number, first and second serial number, access code), in the transfer list transferList sorted by
// name. The station numbers its records in list order.
//
// Sort order: names compare first without regard to case and accents, German style: ä, à, á, â, å sort as a,
// ö and ø as o, ü as u, é and è as e, ç as c, ß as ss, æ as ae. Names equal under that rule compare by their
// exact characters ("Muller" before "Müller", "meier" after "Meier"), and lines with identical names keep the
// order of the table. A caretaker finds "Müller" among the M's next to "Muller", not after "Zander".

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "stations/resident_image.h"

namespace pnl {

class Program;

inline constexpr std::size_t kApartmentChars = 6;
inline constexpr std::int64_t kMaxAccessCode = 9999;

// A resident row's columns as read from the table (empty when the column has no value).
struct ResidentColumns {
    std::string name, firstName, apartment, serial, trigger, code;
};

// True when position `station` of the assignment, as stored, exists and is "1".
bool assignedTo(const std::string& assignment, int station);

// The transfer line of a row; nothing for a row without a name. A "|" inside the name, first name or
// apartment number is removed first, so the line always splits into its five fields again. Splitting the
// trigger column uses the program's value-list splitter.
std::optional<std::string> TransferLine(Program& program, const ResidentColumns& row);

// The fields of a line, split at "|" into the program's field table.
ImageFields splitTransferLine(Program& program, const std::string& line);

// Sorts lines by their first column in the order described above.
void sortTransferLines(std::vector<std::string>& lines);

// Fills the transfer list with the sorted lines of the residents assigned to the station (0..63). Walks the
// shared resident cursor from the first row and leaves it past the last.
void EncodeStation(Program& program, ColumnList& transferList, int station);

}  // namespace pnl
