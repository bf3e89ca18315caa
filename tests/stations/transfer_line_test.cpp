// The transfer lines of a station's residents, the record of what the station holds, and their difference.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "link_fixture.h"
#include "residents/resident_table.h"
#include "stations/station_difference.h"
#include "stations/station_state.h"
#include "stations/transfer_line.h"

namespace pnl::test {
namespace {

using ::testing::HasSubstr;

TEST(EncodeStation, BuildsTheLinesOfTheAssignedResidents) {
    LinkFixture f;
    f.createResidents();
    f.form.LstPNLTrans.setLines({"alt|1|1|0|0"});
    EncodeStation(f.program(), f.form.LstPNLTrans, 1);
    EXPECT_EQ(f.form.LstPNLTrans.count(), 0);  // an empty table empties the list
    const DbValue none;
    f.addResident("Müller", "Anna", "12", std::int64_t{4711}, ",,000000", std::int64_t{0}, "01");
    f.addResident("  Meier ", "  ", "3", std::int64_t{5}, ",,004711", std::int64_t{9999}, "01");
    f.addResident("Meier", "Karl", "A-12-345", std::int64_t{6}, "", std::int64_t{10000}, "01");
    f.addResident("Abcdefghijklmnopqrstuvwxyz", "Zacharias", "123456", std::int64_t{999999}, ",,1", none,
                  "01");
    f.addResident("Ohne", "Sernr", "1", none, ",,004711", std::int64_t{-3}, "01");
    f.addResident("   ", "Kein Name", "1", std::int64_t{7}, "", none, "01");  // no name: skipped
    f.addResident("Anders", "", "1", std::int64_t{8}, "", none, "001");       // other station
    f.addResident("Kurz", "", "1", std::int64_t{9}, "", none, "0");           // too short for station 1
    f.addResident("Strich|Name", "Vor|name", "7|8", std::int64_t{10}, "", none, "01");
    f.addResident("Meier", "Karl", "9", std::int64_t{11}, "", none, "01");  // same name: sent twice
    // Cut by characters, not bytes; the apartment trimmed; a blank at station 0 is kept as stored.
    f.addResident("Müller-Lüdenscheidt-Größenwahn", "Jürgen", "  42 ", std::int64_t{12}, "", none, " 1");

    EncodeStation(f.program(), f.form.LstPNLTrans, 1);
    EXPECT_EQ(f.form.LstPNLTrans.lines(), (std::vector<std::string>{
                                              "Abcdefghijklmnopqrstuvwxyz, Zac|123456|999999|1|0",
                                              "Meier|3|5|4711|9999",
                                              "Meier, Karl|A-12-3|6|0|0",
                                              "Meier, Karl|9|11|0|0",
                                              "Müller, Anna|12|4711|0|0",
                                              "Müller-Lüdenscheidt-Größenwahn,|42|12|0|0",
                                              "Ohne, Sernr|1|0|0|0",
                                              "StrichName, Vorname|78|10|0|0",
                                          }));
    // The walk leaves the shared cursor past the last row.
    EXPECT_TRUE(f.program().residents->eof());

    // The leftmost position is station 0; a value shorter than the position assigns nothing.
    EncodeStation(f.program(), f.form.LstPNLTrans, 0);
    EXPECT_EQ(f.form.LstPNLTrans.lines(), (std::vector<std::string>{}));
    EncodeStation(f.program(), f.form.LstPNLTrans, 2);
    EXPECT_EQ(f.form.LstPNLTrans.lines(), (std::vector<std::string>{"Anders|1|8|0|0"}));
}

TEST(TransferLines, SortByNameIgnoringCaseAndAccents) {
    std::vector<std::string> lines{"Zander|1|1|0|0",     "Müller|2|2|0|0",   "meier|3|3|0|0",
                                   "Muller|4|4|0|0",     "Meier|5|5|0|0",    "Öztürk|6|6|0|0",
                                   "Meier|7|7|0|0",      "Mueller|8|8|0|0",  "Meier, Karl|9|9|0|0",
                                   "Meierhof|10|10|0|0", "Strauß|11|11|0|0", "Straub|12|12|0|0"};
    sortTransferLines(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"Meier|5|5|0|0", "Meier|7|7|0|0", "meier|3|3|0|0",
                                               "Meier, Karl|9|9|0|0", "Meierhof|10|10|0|0", "Mueller|8|8|0|0",
                                               "Muller|4|4|0|0", "Müller|2|2|0|0", "Öztürk|6|6|0|0",
                                               "Straub|12|12|0|0", "Strauß|11|11|0|0", "Zander|1|1|0|0"}));
}

TEST(StationState, FileKeepsEveryLineAndTrustsNoDamagedFile) {
    const std::vector<std::string> lines{"Müller, Anna|12|4711|0|0", "Zeile mit \\ und\nUmbruch|1|2|3|4"};
    const StationState state{true, DateTime{2026, 12, 6, 14, 3, 9}, 123456, Firmware::V27, lines};
    const std::string text = formatStationState(7, state);
    EXPECT_THAT(text, HasSubstr("Stand=vollständig\nDatum=06.12.2026 14:03:09\nSeriennummer=123456\n"
                                "Zeichensatz=2.7x\nBewohner=2\nZeile=Müller, Anna|12|4711|0|0\n"));
    EXPECT_EQ(parseStationState(text), state);

    // Cut off after the first line, or with a count edited by hand: not a state.
    EXPECT_FALSE(parseStationState(text.substr(0, text.rfind("Zeile="))));
    EXPECT_FALSE(parseStationState("Stand=vollständig\n"));
    EXPECT_FALSE(parseStationState(""));
}

TEST(StationDifference, NamesTheResidentsThatChanged) {
    const std::vector<std::string> lines{"Albers, Bea|A01|1|0|0", "Meier, Karl|A02|2|0|0",
                                         "Zander, Udo|A03|3|0|0"};
    const StationState held{true, DateTime{2026, 12, 6, 14, 3, 0}, 123456, Firmware::V3, lines};
    const auto with = [&](std::size_t i, const std::string& line) {
        std::vector<std::string> now = lines;
        now[i] = line;
        return now;
    };
    // A changed resident is paired by name, else by apartment and serial number.
    const std::string oneChanged = "geändert (0 neu, 0 entfernt, 1 geändert)";
    const std::vector<std::tuple<std::vector<std::string>, std::uint32_t, std::string>> cases = {
        {lines, 123456, "aktuell"},
        {with(1, "Maier, Karl|A02|2|0|0"), 123456, oneChanged},
        {with(1, "Meier, Karl|A02|2|0|1234"), 123456, oneChanged},
        {with(2, "Young, Ida|B07|9|0|0"), 123456, "geändert (1 neu, 1 entfernt, 0 geändert)"},
        {lines, 654321, "geändert (0 neu, 0 entfernt, 0 geändert)"},
    };
    for (const auto& [now, serial, status] : cases)
        EXPECT_EQ(statusText(compareStation(held, serial, Firmware::V3, now)), status) << now[1] << now[2];

    EXPECT_EQ(statusText(compareStation(std::nullopt, 1, Firmware::V3, lines)), "nie übertragen");
    StationState broken = held;
    broken.complete = false;
    EXPECT_EQ(statusText(compareStation(broken, 123456, Firmware::V3, lines)), "unvollständig");
}

}  // namespace
}  // namespace pnl::test
