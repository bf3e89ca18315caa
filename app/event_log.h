#pragma once
// The encrypted daily log: log/ddmmyyyy.log in the installation folder, one line "hh:mm:ss  text" per event,
// each sealed with the cipher and written as one CRLF-terminated line. The seal of each line also
// authenticates, as additional data, the file's date, the line's number in the file and the tag of the line
// before it, so that a removed, swapped, duplicated or moved line shows. A last line left without its line
// end (a power cut or a full disk in the middle of a line, or a file padded with zero bytes) is closed before
// the next line, which then follows it as a line that is no sealed text. Never fails towards the caller; a
// line that cannot be written is noted once per run in program.logProblem (the status bar shows it, the
// headless commands print it and end with exit status 1).

#include <cstdint>
#include <string>

namespace pnl {

class Program;

// The folder of the daily log files in the installation folder.
inline constexpr const char* kLogFolder = "log";

// Where the next line of the day's log goes, kept between lines so that a line does not read the whole file
// again: trusted only while the file still has the size this run left it with.
struct LogTail {
    std::string file;
    std::int64_t size = -1;
    int lines = 0;
    std::string lastTag;
    // What closes a cut last line ("\r\n", or "\n" after a lone carriage return); written before the next
    // line.
    std::string lineEndMissing;
};

void EventLog(Program& program, const std::string& text);

// The additional data of line `number` (from 1) of the file of `date` ("ddmmyyyy"), written after a line
// whose seal ends in `previousTag` (16 bytes; empty for the first line or after a line that is no sealed
// text).
std::string logLineBinding(const std::string& date, int number, const std::string& previousTag);

}  // namespace pnl
