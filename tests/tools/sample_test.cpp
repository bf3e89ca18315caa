// The sample's access codes and stations are used by the probe and transfer tests; here its forms and
// refusal.

#include <gtest/gtest.h>

#include "app/program.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"

namespace pnl {
namespace {

TEST(SampleInstallation, WritesTheBaseFormOrTheAssignedFormAndRefusesToOverwrite) {
    test::Installation inst;
    std::string error;
    ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
    auto db = Database::open(inst.path(kDatabaseFile), &error);
    ASSERT_TRUE(db) << error;
    EXPECT_EQ(db->columns("BEWOHNER").size(), 16u);  // the base form, before a first run
    const auto rows = db->query("SELECT AUSLOESUNG FROM BEWOHNER");
    ASSERT_TRUE(rows);
    EXPECT_GE(rows->size(), 40u);
    for (const auto& row : *rows)
        EXPECT_EQ(dbText(row[0]).size(), 8u);

    const std::string settingsBefore = inst.readFile(kSettingsFile);
    EXPECT_FALSE(writeSampleInstallation(inst.folder.path(), &error, true));
    EXPECT_NE(error.find("bereits"), std::string::npos);
    EXPECT_EQ(inst.readFile(kSettingsFile), settingsBefore);
    EXPECT_EQ(Database::open(inst.path(kDatabaseFile))->columns("BEWOHNER").size(), 16u);

    // With stations assigned, in a folder still to be created: the 17th column PNL, only the three stations.
    ASSERT_TRUE(writeSampleInstallation(inst.path("anlage"), &error, true)) << error;
    auto assigned = Database::open(inst.path("anlage/QBXDATA.MDB"));
    ASSERT_TRUE(assigned);
    EXPECT_EQ(assigned->columns("BEWOHNER").size(), 17u);
    EXPECT_EQ(assigned->columns("BEWOHNER").back(), "PNL");
    const auto assignments = assigned->query("SELECT PNL FROM BEWOHNER");
    ASSERT_TRUE(assignments);
    int onStation[3] = {0, 0, 0};
    for (const auto& row : *assignments) {
        const std::string pnl = dbText(row[0]);
        ASSERT_EQ(pnl.size(), 64u);
        EXPECT_EQ(pnl.find_first_not_of("01"), std::string::npos);
        EXPECT_EQ(pnl.find('1', 3), std::string::npos);
        for (int k = 0; k < 3; ++k)
            onStation[k] += pnl[k] == '1';
    }
    EXPECT_GT(onStation[0], 5);
    EXPECT_GT(onStation[1], 5);
    EXPECT_GT(onStation[2], 2);
    EXPECT_FALSE(inst.exists("anlage/QBXDATA_SAMPLE.tmp"));
}

}  // namespace
}  // namespace pnl
