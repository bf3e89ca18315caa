#pragma once
// Spreadsheet files as RFC 4180 text (fields separated by a delimiter, quoted with '"' when they hold the
// delimiter, a quote or a line break), read and written with libcsv.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace pnl {

struct CsvRecord {
    std::size_t line = 0;  // the line of the text on which the record starts, counted from 1
    std::vector<std::string> fields;
};

// The records of the text; blank lines give none. Nothing and *error (German) when the text breaks the
// quoting rules (a quote inside an unquoted field, a quoted field that never ends).
std::optional<std::vector<CsvRecord>> readCsv(const std::string& text, char delimiter, std::string* error);

// One record as a line ending in CR LF; only fields that need it are quoted.
std::string csvLine(const std::vector<std::string>& fields, char delimiter);

}  // namespace pnl
