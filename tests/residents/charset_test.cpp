#include "residents/charset.h"

#include <gtest/gtest.h>

#include <string>

namespace pnl {
namespace {

TEST(Charset, NamedCharactersOfBothTables) {
    struct Row {
        const char *character, *v27, *v3;  // "": dropped
    };
    const Row rows[] = {
        {"ä", "\x84", "\x81"}, {"ö", "\x94", "\x82"}, {"ü", "\x81", "\x83"}, {"Ä", "\x8E", "\x7E"},
        {"Ö", "\x99", "\x7F"}, {"Ü", "\x9A", "\x80"}, {"ß", "\xE1", "\x84"}, {"å", "\x9E", "\x88"},
        {"Å", "\xA1", "\x85"}, {"æ", "\x9C", "\x8A"}, {"Æ", "\x9F", "\x87"}, {"ø", "\x9D", "\x89"},
        {"Ø", "\xA0", "\x86"}, {"é", "\x65", "\x8F"}, {"à", "", "\x8B"},     {"á", "", "\x8C"},
        {"â", "", "\x8D"},     {"è", "", "\x8E"},     {"ê", "", "\x90"},     {"ç", "", "\x91"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CharsetV27(row.character), row.v27) << row.character;
        EXPECT_EQ(CharsetV3(row.character), row.v3) << row.character;
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
    EXPECT_EQ(CharsetV27("Müller"), "M\x81ller");
    EXPECT_EQ(CharsetV3("Émile_|~^`"), "mile");
}

}  // namespace
}  // namespace pnl
