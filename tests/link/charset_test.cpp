#include "link/charset.h"

#include <gtest/gtest.h>

#include <string>

namespace pnl {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

TEST(Charset, NamedCharactersOfBothTables) {
    struct Row {
        const char* character;
        int v27;  // -1: dropped
        int v3;
    };
    const Row rows[] = {
        {"ä", 0x84, 0x81}, {"ö", 0x94, 0x82}, {"ü", 0x81, 0x83}, {"Ä", 0x8E, 0x7E}, {"Ö", 0x99, 0x7F},
        {"Ü", 0x9A, 0x80}, {"ß", 0xE1, 0x84}, {"å", 0x9E, 0x88}, {"Å", 0xA1, 0x85}, {"æ", 0x9C, 0x8A},
        {"Æ", 0x9F, 0x87}, {"ø", 0x9D, 0x89}, {"Ø", 0xA0, 0x86}, {"é", 0x65, 0x8F}, {"à", -1, 0x8B},
        {"á", -1, 0x8C},   {"â", -1, 0x8D},   {"è", -1, 0x8E},   {"ê", -1, 0x90},   {"ç", -1, 0x91},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CharsetV27(row.character), row.v27 < 0 ? std::string() : bytes({row.v27})) << row.character;
        EXPECT_EQ(CharsetV3(row.character), bytes({row.v3})) << row.character;
    }
}

TEST(Charset, EveryOtherCharacterIsKeptOrDroppedOneByOne) {
    for (char32_t c = 0; c < 0x80; ++c) {
        const bool kept = (c >= 0x20 && c <= 0x5D) || (c >= 0x61 && c <= 0x7B) || c == 0x7D;
        const std::string text(1, static_cast<char>(c));
        const std::string expected = kept ? text : std::string();
        EXPECT_EQ(CharsetV27(text), expected) << "code point " << static_cast<int>(c);
        EXPECT_EQ(CharsetV3(text), expected) << "code point " << static_cast<int>(c);
    }
    // Characters above 0x7F that neither table names, among them É (no decomposition) and the euro sign.
    for (const char* text : {"É", "ë", "€", "ÿ", "\u00A0", "Ç", "ñ"}) {
        EXPECT_EQ(CharsetV27(text), "") << text;
        EXPECT_EQ(CharsetV3(text), "") << text;
    }
    EXPECT_EQ(CharsetV27("Müller"), bytes({0x4D, 0x81, 0x6C, 0x6C, 0x65, 0x72}));
    EXPECT_EQ(CharsetV3("Café"), bytes({0x43, 0x61, 0x66, 0x8F}));
    EXPECT_EQ(CharsetV27("François"), "Franois");
    EXPECT_EQ(CharsetV3("Émile_|~^`"), "mile");
}

}  // namespace
}  // namespace pnl
