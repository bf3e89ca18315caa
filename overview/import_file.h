#pragma once
// Reading a spreadsheet file of residents, before anything is matched against the table: the file's text
// (UTF-8 with or without byte order mark, or Windows-1252), its delimiter (semicolon or comma), its columns
// found by their headings (the export's, without regard to case, and common other names: Nachname, Wohnung,
// Seriennummer, ...), and each row's values checked as the resident page checks them.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/resident_table.h"

namespace pnl {

inline constexpr std::size_t kMaxImportRows = 50000;
inline constexpr std::size_t kMaxImportBytes = std::size_t{32} * 1024 * 1024;

// One row of the file that is not blank.
struct ResidentFileRow {
    std::size_t line = 0;  // where the row starts in the file, counted from 1
    bool valid = false;
    std::string message;  // the error, or warnings (a name that was cut)
    Resident resident;    // its values, without the station assignment
    std::string id;       // the ID column's digits; empty when the file or the row has none
    std::vector<std::pair<int, bool>> stations;  // station number, ticked: the station columns of the file
};

struct ResidentFile {
    std::string fileError;  // the file cannot be imported at all (binary, a column missing, too large, ...)
    std::string encoding;   // "UTF-8" or "Windows-1252"
    char delimiter = ';';
    std::vector<std::pair<int, std::string>> stationColumns;  // station number, the column's heading
    std::vector<ResidentFileRow> rows;
};

ResidentFile ReadResidentFile(const std::string& bytes);

// „text“, as the import's messages quote a value of the file.
std::string quotedText(const std::string& text);

}  // namespace pnl
