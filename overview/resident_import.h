#pragma once
// Residents from a spreadsheet file (read by overview/import_file.h) matched against the table. Each row is
// matched to a resident by its ID when the file has an ID column and the row an ID that the table holds, else
// by its first serial number. The preview says of every row whether it is new, changed, unchanged or an
// error; a file with any error imports nothing. A column of a station that is not set up is named in a
// warning, and the file is imported only with the user's consent.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/resident_table.h"
#include "overview/import_file.h"

namespace pnl {

class Program;

enum class ImportStatus { New, Changed, Unchanged, Error };

struct ImportRow {
    std::size_t line = 0;  // where the row starts in the file, counted from 1
    ImportStatus status = ImportStatus::Error;
    std::string message;                   // the error, or warnings (a name that was cut)
    Resident row;                          // the values to write
    std::optional<std::int64_t> targetId;  // the resident it changes; nothing for a new one
};

struct ImportPreview {
    std::string fileError;  // the file cannot be imported at all (unreadable, binary, a column missing, ...)
    std::string encoding;   // "UTF-8" or "Windows-1252"
    char delimiter = ';';
    std::vector<ImportRow> rows;
    std::vector<std::int64_t> missing;  // IDs of the residents the file does not name
    std::vector<std::string> missingNames;
    // The headings of station columns whose station is not set up ("PNL40 Keller"): their assignments are
    // imported only when the user agrees.
    std::vector<std::string> unknownStationColumns;

    bool importable() const;
    int count(ImportStatus status) const;
};

// Reads the file's bytes against the working copy's residents and stations; changes nothing.
ImportPreview PreviewImport(Program& program, const std::string& bytes);
// The file at `path`; a file that cannot be read, or that is no plain file (a folder, a device, a FIFO: never
// waited on), gives a preview with fileError.
ImportPreview PreviewImportFile(Program& program, const std::string& path);
// The bytes of the file at `path`; nothing and *error (German) when it is no plain file or cannot be read.
std::optional<std::string> ReadImportFile(Program& program, const std::string& path, std::string* error);

// "Die Spalte „PNL40 Keller“ gehört zu keiner angelegten PNL." for the preview's unknown station columns;
// empty when there are none.
std::string unknownStationsWarning(const ImportPreview& preview);

// One line per row for the preview ("Zeile 3: neu: Müller, Anna (Wohnung 12)") and the summary line.
std::string previewLine(const ImportRow& row);
std::string previewSummary(const ImportPreview& preview, bool removeMissing);

// Writes every new and changed row (and, with removeMissing, deletes the residents the file does not name) in
// one transaction on the working copy, then writes the resident save's log line for each. Nothing is written
// when the preview is not importable. False and *error (German) when the write failed: nothing changed.
bool ApplyImport(Program& program, const ImportPreview& preview, bool removeMissing, std::string* error);

}  // namespace pnl
