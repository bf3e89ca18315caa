#include <gtest/gtest.h>

#include "resident_fixture.h"
#include "residents/resident_fields.h"

namespace pnl {

TEST(ResidentFields, StationAssignmentIsSixtyFourCharactersFromTheLeft) {
    EXPECT_EQ(encodeStations(StationSet{}.set(0).set(63)), "1" + std::string(62, '0') + "1");
    EXPECT_EQ(encodeStations(StationSet{}), std::string(64, '0'));
    const std::pair<std::string, StationSet> decoded[] = {
        {"0000000001", StationSet{}.set(9)},  // ten characters
        {"", StationSet{}},
        {"    ", StationSet{}},
        {"01" + std::string(62, '0') + "1111", StationSet{}.set(1)},  // beyond 63: ignored
        {" 1", StationSet{}.set(1)},  // positions count as stored: a leading blank does not shift station 1
        {test::stationsWith({5, 12}), StationSet{}.set(5).set(12)},
    };
    for (const auto& [stored, stations] : decoded)
        EXPECT_EQ(decodeStations(stored), stations) << stored;
}

TEST(ResidentFields, SecondSerialNumberAndAccessCode) {
    EXPECT_EQ(encodeSecondSerial(""), ",,000000");
    EXPECT_EQ(encodeSecondSerial("4711"), ",,004711");
    EXPECT_EQ(encodeSecondSerial("0"), ",,000000");
    const std::pair<std::string, int> seconds[] = {
        {",,000000", 0}, {",,004711", 4711}, {"", 0}, {"12,34", 0}, {",,abc", 0}, {"x,y,999999,z", 999999}};
    for (const auto& [stored, serial] : seconds)
        EXPECT_EQ(decodeSecondSerial(stored), serial) << stored;
    const std::pair<std::string, int> codes[] = {{"0", 0}, {"10000", 0},   {"-5", 0},
                                                 {"", 0},  {"9999", 9999}, {"1", 1}};
    for (const auto& [stored, code] : codes)
        EXPECT_EQ(decodeCode(stored), code) << stored;
}

TEST(ResidentFields, NamesAreCleanedTrimmedAndCutToFiftyCharacters) {
    const std::pair<std::string, std::string> names[] = {
        {"  Meier  ", "Meier"},
        {std::string(30, 'a') + std::string(30, 'b'), std::string(30, 'a') + std::string(20, 'b')},
        {"üüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüü",  // 60 umlauts: 50 characters, not
                                                                          // bytes
         "üüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüü"},
    };
    for (const auto& [typed, stored] : names)
        EXPECT_EQ(storedName(typed), stored);
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
