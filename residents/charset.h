#pragma once
// The character tables of the display stations. A station shows its text in a character set of its own; the
// older firmware (2.7x) uses another set than the current one (3.x). Names and apartment numbers are
// converted character by character; a character that the station cannot show is dropped, so the result never
// has more bytes than the text has characters.

#include <optional>
#include <string>

namespace pnl {

enum class Firmware { V27, V3 };

// Station bytes of a UTF-8 text for firmware 2.7x.
std::string CharsetV27(const std::string& text);
// Station bytes of a UTF-8 text for firmware 3.x.
std::string CharsetV3(const std::string& text);
// The table of the given firmware.
std::string stationBytes(const std::string& text, Firmware firmware);
// The character as the station shows it: itself, the plain letter the table puts in its place (é as "e" on
// firmware 2.7x), or nothing when the table drops it.
std::optional<char32_t> shownCharacter(char32_t c, Firmware firmware);

}  // namespace pnl
