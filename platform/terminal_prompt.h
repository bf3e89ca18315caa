#pragma once
// Asking for a secret on the terminal: the prompt goes to the terminal (standard error), the typed characters
// are not echoed, the line is read from standard input.

#include <optional>
#include <string>

namespace pnl {

// The line typed, without its line end; nothing when the input has ended. Echo is switched off only while
// standard input is a terminal, and restored before returning.
std::optional<std::string> readHiddenLine(const std::string& prompt);

}  // namespace pnl
