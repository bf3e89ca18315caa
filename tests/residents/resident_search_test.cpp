// The resident search of the overview and the resident page, and the German order of the lists.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/resident_table.h"
#include "platform/collation.h"
#include "residents/resident_search.h"

namespace pnl::test {

TEST(ResidentSearch, FoldsCaseAccentsAndUmlautSpellings) {
    struct Case {
        const char* what;
        std::string typed, name, firstName;
        bool found;
    };
    const Case cases[] = {
        {"umlaut typed as its base letter", "mull", "Müller", "Anna", true},
        {"umlaut spelled out", "Mueller", "Müller", "Anna", true},
        {"umlaut for its spelling", "Müller", "Mueller", "Anna", true},
        {"base letter for a spelling", "muller", "Mueller", "", true},
        {"a word inside a spelling", "eller", "Mueller", "", true},
        {"capital umlaut", "ÖZD", "Özdemir", "", true},
        {"oe for ö", "oezdemir", "Özdemir", "", true},
        {"ä as a and ae", "jaeger kathe", "Jäger", "Käthe", true},
        {"ß as ss", "strasse", "Straßer", "", true},
        {"ss for ß", "Weiß", "Weiss", "Gerd", true},
        {"accents", "francois", "François", "", true},
        {"every word must match", "müller otto", "Müller", "Anna", false},
        {"another name", "meier", "Müller", "Anna", false},
        {"apartment", "a00", "Müller", "Anna", true},
        {"serial with leading zeros", "004711", "Müller", "Anna", true},
        {"second serial", "815", "Müller", "Anna", true},
        {"nothing typed", "  ", "Müller", "Anna", true},
    };
    for (const Case& c : cases) {
        Resident resident;
        resident.name = c.name;
        resident.firstName = c.firstName;
        resident.apartment = "A001";
        resident.serial = 4711;
        resident.secondSerial = 815;
        EXPECT_EQ(TextSearch(c.typed).matches(residentSearchText(resident)), c.found) << c.what;
    }
    EXPECT_EQ(residentCountText(3, 41), "3 von 41 Bewohnern");
    EXPECT_EQ(residentCountText(41, 41), "41 Bewohner");
}

TEST(ResidentSearch, ListsSortInGermanOrder) {
    std::vector<std::string> names = {"Krüger", "Braun", "Zander", "Köhler",  "Böhm",   "Müller",
                                      "Muller", "meier", "Meier",  "Straßer", "Strauß", "Ähm"};
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return sortKey(a) < sortKey(b); });
    EXPECT_EQ(names, (std::vector<std::string>{"Ähm", "Böhm", "Braun", "Köhler", "Krüger", "Meier", "meier",
                                               "Muller", "Müller", "Straßer", "Strauß", "Zander"}));
    for (std::size_t i = 1; i < names.size(); ++i)
        EXPECT_TRUE(collationKey(names[i - 1]) < collationKey(names[i])) << names[i];
}

}  // namespace pnl::test
