#pragma once
// The residents as a spreadsheet file: semicolon-separated, a header row, UTF-8 with a byte order mark (so
// that German spreadsheet programs open it right). The columns are every column the program uses (ID, Name,
// Vorname, Wohnungsnr., Seriennr. 1, Seriennr. 2, Code) and one column per listed station ("PNL00
// Haupteingang") with "x" where the resident is assigned. The assignment is not written as its 64 digits: a
// spreadsheet program would read them as one number and spoil them. A text cell that a spreadsheet program
// would take as a formula is written with an apostrophe in front (formula_cell.h).

#include <string>
#include <vector>

#include "app/station_records.h"

namespace pnl {

class Program;
struct Overview;

inline constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

// The column headers of the export, in their order.
std::vector<std::string> exportHeaders(const std::vector<StationRecord>& stations);
// The heading of a station's column: "PNL" + two digits + blank + label.
std::string stationColumn(const StationRecord& station);

// The file's whole text.
std::string ExportText(const Overview& overview);

// Writes the export of every resident to the file (replaced as a whole). False and *error (German) when it
// cannot be written, or when the path is no place for an export (export_target.h): nothing is written then.
bool ExportResidents(Program& program, const std::string& path, int* count, std::string* error);

}  // namespace pnl
