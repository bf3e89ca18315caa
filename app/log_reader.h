#pragma once
// Reading a day's encrypted log back: each stored line decrypted and checked at its place in the file, or
// marked with what is wrong with it (altered or foreign, removed, swapped, duplicated or moved lines).

#include <optional>
#include <string>
#include <vector>

namespace pnl {

struct LogEntry {
    int lineNumber = 0;               // 1-based, as in the file
    std::optional<std::string> text;  // "hh:mm:ss  event"; nothing when the line does not decrypt
    // Written before lines were bound to their place: it reads, but its place cannot be checked.
    bool unbound = false;
    // What is wrong with the line ("doppelt (wie Zeile 3)"); empty when nothing is.
    std::string problem;
};

// The file's lines: split at the line ends (CR LF or LF; a last line without one counts). Empty lines are
// kept, except after a file's final line end.
std::vector<std::string> splitLogLines(const std::string& content);

// Decrypts each line with the log's key and checks it against its place in the file of `date` ("ddmmyyyy",
// from the file's name).
std::vector<LogEntry> readLog(const std::string& content, const std::string& date);

}  // namespace pnl
