#include <gtest/gtest.h>

#include "platform/controls.h"

namespace pnl {

namespace {

std::vector<std::string> texts(const ComboBox& list) {
    std::vector<std::string> out;
    for (const auto& item : list.items())
        out.push_back(item.text);
    return out;
}

}  // namespace

TEST(SortedList, ReadsInGermanDictionaryOrderWhetherFilledAtOnceOrOneByOne) {
    const std::vector<std::string> names = {"Zander, Paul", "de Vries, Jan", "Özdemir, Ayşe", "Abel, Tom",
                                            "Ärger, Kai",   "Straße, Eva",   "Strasse, Eva",  "abel, Tom"};
    const std::vector<std::string> expected = {"Abel, Tom",     "abel, Tom",     "Ärger, Kai",
                                               "de Vries, Jan", "Özdemir, Ayşe", "Strasse, Eva",
                                               "Straße, Eva",   "Zander, Paul"};

    ComboBox oneByOne(true);
    for (const auto& name : names)
        oneByOne.addItem(name);
    EXPECT_EQ(texts(oneByOne), expected);

    ComboBox atOnce(true);
    std::vector<ComboBox::Item> items;
    for (const auto& name : names)
        items.push_back({name, 0});
    atOnce.setItems(items);
    EXPECT_EQ(texts(atOnce), expected);

    // Zero-padded serial numbers sort by value; equal texts keep the order they came in (each with its row).
    ComboBox serials(true);
    serials.addItem("012345", 1);
    serials.addItem("004711", 2);
    serials.addItem("004711", 3);
    EXPECT_EQ(texts(serials), (std::vector<std::string>{"004711", "004711", "012345"}));
    EXPECT_EQ(serials.itemData(0), 2);
    EXPECT_EQ(serials.itemData(1), 3);
}

}  // namespace pnl
