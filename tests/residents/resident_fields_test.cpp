#include <gtest/gtest.h>

#include "residents/resident_fields.h"

namespace pnl {

TEST(ResidentFields, StationAssignmentIsSixtyFourCharactersFromTheLeft) {
    StationSet both;
    both.set(0).set(63);
    EXPECT_EQ(encodeStations(both), "1" + std::string(62, '0') + "1");
    EXPECT_EQ(encodeStations(StationSet{}), std::string(64, '0'));

    const StationSet nine = decodeStations("0000000001");  // ten characters
    EXPECT_TRUE(nine.test(9));
    EXPECT_EQ(nine.count(), 1u);
    EXPECT_TRUE(decodeStations("").none());
    EXPECT_TRUE(decodeStations("    ").none());
    EXPECT_EQ(decodeStations("01" + std::string(62, '0') + "1111"),
              StationSet{}.set(1));  // beyond 63: ignored
    // Positions count as stored, as the transfer reads them: a leading blank does not shift station 1 to 0.
    EXPECT_EQ(decodeStations(" 1"), StationSet{}.set(1));
    EXPECT_EQ(decodeStations(encodeStations(StationSet{}.set(5).set(12))), StationSet{}.set(5).set(12));
}

TEST(ResidentFields, SecondSerialNumberAndAccessCode) {
    EXPECT_EQ(encodeSecondSerial(""), ",,000000");
    EXPECT_EQ(encodeSecondSerial("4711"), ",,004711");
    EXPECT_EQ(encodeSecondSerial("0"), ",,000000");
    EXPECT_EQ(decodeSecondSerial(",,000000"), 0);
    EXPECT_EQ(decodeSecondSerial(",,004711"), 4711);
    EXPECT_EQ(decodeSecondSerial(""), 0);
    EXPECT_EQ(decodeSecondSerial("12,34"), 0);  // field 2 missing
    EXPECT_EQ(decodeSecondSerial(",,abc"), 0);
    EXPECT_EQ(decodeSecondSerial("x,y,999999,z"), 999999);

    EXPECT_EQ(decodeCode("0"), 0);
    EXPECT_EQ(decodeCode("10000"), 0);
    EXPECT_EQ(decodeCode("-5"), 0);
    EXPECT_EQ(decodeCode(""), 0);
    EXPECT_EQ(decodeCode("9999"), 9999);
    EXPECT_EQ(decodeCode("1"), 1);
}

TEST(ResidentFields, NamesAreCleanedTrimmedAndCutToFiftyCharacters) {
    EXPECT_EQ(storedName("  Meier  "), "Meier");
    const std::string sixty = std::string(30, 'a') + std::string(30, 'b');
    EXPECT_EQ(storedName(sixty), std::string(30, 'a') + std::string(20, 'b'));
    // Fifty characters, not bytes: umlauts count once.
    std::string umlauts;
    for (int i = 0; i < 60; ++i)
        umlauts += "ü";
    std::string fifty;
    for (int i = 0; i < 50; ++i)
        fifty += "ü";
    EXPECT_EQ(storedName(umlauts), fifty);

    EXPECT_EQ(cleanText("Anna\r\nMaria\t"), "Anna  Maria");
    EXPECT_EQ(cleanText("M\xfcller"), "Müller");     // a Latin-1 byte becomes its character
    EXPECT_EQ(cleanText("a\x7f\xc2\x85z"), "a  z");  // DEL and the C1 control NEL
    EXPECT_EQ(cleanText("\xed\xa0\x80x"), "x");      // an encoded surrogate is no character
    EXPECT_EQ(cleanText("Schmidt|Meier"), "Schmidt|Meier");

    EXPECT_EQ(listedSerial(4711), "004711");
    EXPECT_EQ(listedSerial(999999), "999999");
    EXPECT_EQ(listedSerial(1234567), "1234567");  // never cut to a different number
}

}  // namespace pnl
