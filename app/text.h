#pragma once
// Text helpers shared by every part of the program. Texts are UTF-8; lengths that the program limits (names
// of 50 or 31 characters, six-character apartment numbers) count characters, not bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace pnl {

// Leading and trailing blanks removed (blanks only, as the settings and the database hold them).
std::string trim(const std::string& text);
// Upper case for ASCII and the Latin-1 letters (ä -> Ä).
std::string upper(const std::string& text);
// The numeric value of the text's leading number: leading blanks skipped, an optional sign, the digits up to
// the first character that is not one; 0 when there is none. Saturates instead of overflowing.
std::int64_t leadingNumber(const std::string& text);
// True when the text is not empty and holds only the digits 0 to 9.
bool allDigits(const std::string& text);
bool hasDigit(const std::string& text);

// The text's characters (code points); invalid UTF-8 bytes count as one character each.
std::vector<char32_t> codePoints(const std::string& text);
std::string fromCodePoints(const std::vector<char32_t>& points);
std::size_t characterCount(const std::string& text);
// The first n characters.
std::string leftChars(const std::string& text, std::size_t n);

// value as upper-case hexadecimal with leading zeros, cut to its right-most `digits` digits (low bits kept).
std::string hexDigits(std::uint64_t value, int digits);
// Decimal with leading zeros, cut to the right-most `digits` digits ("000000" + 4711 -> "004711").
std::string zeroPadded(std::int64_t value, int digits);
// The right-most n bytes of an ASCII text.
std::string rightBytes(const std::string& text, std::size_t n);

}  // namespace pnl
