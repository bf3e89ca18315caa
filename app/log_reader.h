#pragma once
// Reading a day's encrypted log back: each stored line decrypted, or marked as not decryptable (altered, or
// sealed with another key).

#include <optional>
#include <string>
#include <vector>

namespace pnl {

struct LogEntry {
    int lineNumber = 0;               // 1-based, as in the file
    std::optional<std::string> text;  // "hh:mm:ss  event"; nothing when the line does not decrypt
};

// Splits the file's content at its line ends (CR LF or LF; a last line without one counts) and decrypts each
// line with the log's key. Empty lines are kept and marked as not decryptable, except a file's final line
// end.
std::vector<LogEntry> readLog(const std::string& content);

}  // namespace pnl
