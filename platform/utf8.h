#pragma once
// The UTF-8 encoder shared by the settings file and the text helpers.

#include <string>

namespace pnl {

// Appends the code point as UTF-8.
void appendUtf8(std::string& out, char32_t c);

}  // namespace pnl
