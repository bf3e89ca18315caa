// The record of what each station holds, and its difference to what the station would receive.

#include <gtest/gtest.h>

#include "stations/station_difference.h"
#include "stations/station_state.h"

namespace pnl::test {
namespace {

TEST(StationState, FileKeepsEveryLineAndTrustsNoDamagedFile) {
    const StationState state{true,
                             DateTime{2026, 12, 6, 14, 3, 9},
                             123456,
                             Firmware::V27,
                             {"Müller, Anna|12|4711|0|0", "Zeile mit \\ und\nUmbruch|1|2|3|4"}};
    const std::string text = formatStationState(7, state);
    EXPECT_NE(text.find("Stand=vollständig\nDatum=06.12.2026 14:03:09\nSeriennummer=123456\n"
                        "Zeichensatz=2.7x\nBewohner=2\nZeile=Müller, Anna|12|4711|0|0\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(parseStationState(text), state);
    EXPECT_EQ(stationStateFile(7), "PNL07_STAND.TXT");

    // Cut off after the first line, or with a count edited by hand: not a state.
    EXPECT_FALSE(parseStationState(text.substr(0, text.rfind("Zeile="))));
    EXPECT_FALSE(parseStationState("Stand=vollständig\n"));
    EXPECT_FALSE(parseStationState(""));
}

TEST(StationDifference, NamesTheResidentsThatChanged) {
    const StationState held{true,
                            DateTime{2026, 12, 6, 14, 3, 0},
                            123456,
                            Firmware::V3,
                            {"Albers, Bea|A01|1|0|0", "Meier, Karl|A02|2|0|0", "Zander, Udo|A03|3|0|0"}};
    struct Case {
        const char* what;
        std::vector<std::string> now;
        std::uint32_t serial;
        std::string status;
        std::size_t added, removed, changed;
    };
    const std::vector<Case> cases = {
        {"same", held.lines, 123456, "aktuell", 0, 0, 0},
        {"renamed",
         {"Albers, Bea|A01|1|0|0", "Maier, Karl|A02|2|0|0", "Zander, Udo|A03|3|0|0"},
         123456,
         "geändert (0 neu, 0 entfernt, 1 geändert)",
         0,
         0,
         1},
        {"new code",
         {"Albers, Bea|A01|1|0|0", "Meier, Karl|A02|2|0|1234", "Zander, Udo|A03|3|0|0"},
         123456,
         "geändert (0 neu, 0 entfernt, 1 geändert)",
         0,
         0,
         1},
        {"moved out, moved in",
         {"Albers, Bea|A01|1|0|0", "Meier, Karl|A02|2|0|0", "Young, Ida|B07|9|0|0"},
         123456,
         "geändert (1 neu, 1 entfernt, 0 geändert)",
         1,
         1,
         0},
        {"other serial number", held.lines, 654321, "geändert (0 neu, 0 entfernt, 0 geändert)", 0, 0, 0},
    };
    for (const Case& c : cases) {
        const StationDifference d = compareStation(held, c.serial, Firmware::V3, c.now);
        EXPECT_EQ(statusText(d), c.status) << c.what;
        EXPECT_EQ(d.added.size(), c.added) << c.what;
        EXPECT_EQ(d.removed.size(), c.removed) << c.what;
        EXPECT_EQ(d.changed.size(), c.changed) << c.what;
    }
    const StationDifference renamed = compareStation(held, 123456, Firmware::V3, cases[1].now);
    EXPECT_EQ(differenceLines(renamed),
              std::vector<std::string>{"geändert: Meier, Karl|A02|2|0|0 -> Maier, Karl|A02|2|0|0"});

    EXPECT_EQ(statusText(compareStation(std::nullopt, 1, Firmware::V3, held.lines)), "nie übertragen");
    StationState broken = held;
    broken.complete = false;
    EXPECT_EQ(statusText(compareStation(broken, 123456, Firmware::V3, held.lines)), "unvollständig");
}

}  // namespace
}  // namespace pnl::test
