#pragma once
// UTF-8 encoding and decoding shared by the settings file, the text helpers and the sorted lists.

#include <string>

namespace pnl {

// Appends the code point as UTF-8.
void appendUtf8(std::string& out, char32_t c);

// The text's code points; a byte that starts no valid UTF-8 sequence is one character of its own (its Latin-1
// meaning), so no input is lost.
std::u32string decodeUtf8Lenient(const std::string& text);

}  // namespace pnl

namespace pnl {

// True when every byte belongs to a valid UTF-8 sequence.
bool validUtf8(const std::string& text);
// A Windows-1252 text as UTF-8 (the five bytes the code page leaves unassigned keep their Latin-1 meaning).
std::string utf8FromWindows1252(const std::string& text);

}  // namespace pnl
