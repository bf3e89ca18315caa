#include "residents/charset.h"

#include <optional>

#include "app/text.h"

namespace pnl {
namespace {

struct SpecialCharacter {
    char32_t character;
    int v27;  // -1: dropped by firmware 2.7x
    int v3;
};

// Exact code points: no case folding, no decomposition (É is not é and is dropped).
constexpr SpecialCharacter kSpecial[] = {
    {U'ä', 0x84, 0x81}, {U'ö', 0x94, 0x82}, {U'ü', 0x81, 0x83}, {U'Ä', 0x8E, 0x7E}, {U'Ö', 0x99, 0x7F},
    {U'Ü', 0x9A, 0x80}, {U'ß', 0xE1, 0x84}, {U'å', 0x9E, 0x88}, {U'Å', 0xA1, 0x85}, {U'æ', 0x9C, 0x8A},
    {U'Æ', 0x9F, 0x87}, {U'ø', 0x9D, 0x89}, {U'Ø', 0xA0, 0x86}, {U'é', 0x65, 0x8F}, {U'à', -1, 0x8B},
    {U'á', -1, 0x8C},   {U'â', -1, 0x8D},   {U'è', -1, 0x8E},   {U'ê', -1, 0x90},   {U'ç', -1, 0x91},
};

// Blank to "]", "a" to "{", and "}"; "^", "_", "`", "|", "~" and everything else is dropped.
bool keptAsItself(char32_t c) {
    return (c >= 0x20 && c <= 0x5D) || (c >= 0x61 && c <= 0x7B) || c == 0x7D;
}

std::optional<char> stationByte(char32_t c, Firmware firmware) {
    for (const auto& special : kSpecial) {
        if (special.character != c)
            continue;
        const int byte = firmware == Firmware::V27 ? special.v27 : special.v3;
        if (byte < 0)
            return std::nullopt;
        return static_cast<char>(byte);
    }
    if (keptAsItself(c))
        return static_cast<char>(c);
    return std::nullopt;
}

}  // namespace

std::optional<char32_t> shownCharacter(char32_t c, Firmware firmware) {
    const auto byte = stationByte(c, firmware);
    if (!byte)
        return std::nullopt;
    const auto b = static_cast<unsigned char>(*byte);
    // A named character whose byte is a plain letter is shown as that letter; any other byte is the
    // station's own glyph of the character.
    if (c >= 0x80 && b >= 'a' && b <= 'z')
        return static_cast<char32_t>(b);
    return c;
}

std::string stationBytes(const std::string& text, Firmware firmware) {
    std::string bytes;
    for (char32_t c : codePoints(text))
        if (auto byte = stationByte(c, firmware))
            bytes += *byte;
    return bytes;
}

std::string CharsetV27(const std::string& text) {
    return stationBytes(text, Firmware::V27);
}
std::string CharsetV3(const std::string& text) {
    return stationBytes(text, Firmware::V3);
}

}  // namespace pnl
