// The record of what each station holds, and its difference to what the station would receive.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "stations/station_difference.h"
#include "stations/station_state.h"

namespace pnl::test {
namespace {

using ::testing::HasSubstr;

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
