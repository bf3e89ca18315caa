#include <gtest/gtest.h>

#include "app/field_table.h"
#include "app/text.h"

namespace pnl {

TEST(FieldTable, SplitsValueListsIntoSixteenEntries) {
    ValueFields fields;
    fields.split("TRUE,123456,P");
    EXPECT_EQ(fields[0], "TRUE");
    EXPECT_EQ(fields[1], "123456");
    EXPECT_EQ(fields[2], "P");
    for (int i = 3; i < 16; ++i)
        EXPECT_EQ(fields[i], "");

    std::string twenty;
    for (int i = 0; i < 20; ++i)
        twenty += (i ? "," : "") + std::to_string(i);
    fields.split(twenty);
    EXPECT_EQ(fields[0], "0");
    EXPECT_EQ(fields[15], "15");  // fields 16 to 19 are dropped

    fields.split("no commas at all");
    EXPECT_EQ(fields[0], "no commas at all");
    EXPECT_EQ(fields[1], "");  // a second split clears what the first one left

    fields.split("a,,b,");
    EXPECT_EQ(fields[1], "");
    EXPECT_EQ(fields[2], "b");
    EXPECT_EQ(fields[3], "");

    fields.split("");
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(fields[i], "");

    fields.split("Müller, Anna|12|4711|0|0", '|');
    EXPECT_EQ(fields[0], "Müller, Anna");
    EXPECT_EQ(fields[4], "0");
}

TEST(Text, NumbersCharactersAndCase) {
    EXPECT_EQ(leadingNumber(" 30,FALSE"), 30);
    EXPECT_EQ(leadingNumber("030"), 30);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber("-1"), -1);
    EXPECT_EQ(leadingNumber("99999999999999999999999"), INT64_MAX);
    EXPECT_EQ(trim("  Meier  "), "Meier");
    EXPECT_EQ(upper("orion nebel"), "ORION NEBEL");
    EXPECT_EQ(upper("grün"), "GRÜN");
    EXPECT_EQ(characterCount("Müller"), 6u);
    EXPECT_EQ(leftChars("Müllerstraße", 7), "Müllers");
    EXPECT_EQ(characterCount("\xff\xfe"), 2u);  // invalid bytes count one each
    EXPECT_EQ(hexDigits(123456, 6), "01E240");
    EXPECT_EQ(hexDigits(0x1234567, 6), "234567");
    EXPECT_EQ(zeroPadded(4711, 6), "004711");
}

}  // namespace pnl
