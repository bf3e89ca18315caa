#pragma once
// The encrypted daily log: log/ddmmyyyy.log in the installation folder, one line "hh:mm:ss  text" per event,
// each sealed with the cipher and written as one CRLF-terminated line. Never fails towards the caller.

#include <string>

namespace pnl {

class Program;

void EventLog(Program& program, const std::string& text);

}  // namespace pnl
