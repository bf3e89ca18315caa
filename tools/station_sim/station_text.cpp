#include "tools/station_sim/station_text.h"

namespace pnl::sim {

namespace {

struct Special {
    std::uint8_t byte;
    const char* text;  // UTF-8
};

// The display's own letters above ASCII (and, on 3.x firmware, in place of "~" and DEL).
constexpr Special kV27[] = {
    {0x84, "ä"}, {0x94, "ö"}, {0x81, "ü"}, {0x8E, "Ä"}, {0x99, "Ö"}, {0x9A, "Ü"}, {0xE1, "ß"},
    {0x9E, "å"}, {0xA1, "Å"}, {0x9C, "æ"}, {0x9F, "Æ"}, {0x9D, "ø"}, {0xA0, "Ø"},
};
constexpr Special kV3[] = {
    {0x81, "ä"}, {0x82, "ö"}, {0x83, "ü"}, {0x7E, "Ä"}, {0x7F, "Ö"}, {0x80, "Ü"}, {0x84, "ß"},
    {0x88, "å"}, {0x85, "Å"}, {0x8A, "æ"}, {0x87, "Æ"}, {0x89, "ø"}, {0x86, "Ø"}, {0x8F, "é"},
    {0x8B, "à"}, {0x8C, "á"}, {0x8D, "â"}, {0x8E, "è"}, {0x90, "ê"}, {0x91, "ç"},
};

template <std::size_t N>
const char* lookup(const Special (&table)[N], std::uint8_t byte) {
    for (const auto& special : table) {
        if (special.byte == byte)
            return special.text;
    }
    return nullptr;
}

// Both firmwares show blank to "]", "a" to "{" and "}" as ASCII.
bool plainAscii(std::uint8_t byte) {
    return (byte >= 0x20 && byte <= 0x5D) || (byte >= 0x61 && byte <= 0x7B) || byte == 0x7D;
}

}  // namespace

std::string firmwareName(Firmware firmware) {
    return firmware == Firmware::V27 ? "2.7X" : "3.x";
}

std::string textOf(const std::uint8_t* bytes, std::size_t count, Firmware firmware,
                   std::vector<std::uint8_t>* unknown) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t byte = bytes[i];
        const char* special = firmware == Firmware::V27 ? lookup(kV27, byte) : lookup(kV3, byte);
        if (special) {
            text += special;
        } else if (plainAscii(byte)) {
            text += static_cast<char>(byte);
        } else {
            text += '?';
            if (unknown)
                unknown->push_back(byte);
        }
    }
    return text;
}

}  // namespace pnl::sim
