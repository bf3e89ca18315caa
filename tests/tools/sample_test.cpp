#include <gtest/gtest.h>

#include "app/field_table.h"
#include "app/program.h"
#include "platform/cipher.h"
#include "platform/ini_file.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"

namespace pnl {
namespace {

TEST(SampleInstallation, WritesLevelsStationsAndResidentsAndRefusesToOverwrite) {
    test::Installation inst;
    std::string error;
    ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
    IniFile ini(inst.fs, inst.path(kSettingsFile));
    for (const auto& level : kSampleLevels)
        EXPECT_EQ(cDecrypt(ini.read("Berechtigungen", "LEVEL" + std::to_string(level.level)), kCipherKey),
                  std::string("TRUE,") + level.code + "," + level.kind);
    EXPECT_EQ(ini.read("Berechtigungen", "LEVEL6"), "");
    EXPECT_EQ(ini.read("Schnittstellen", "COM1"), "30,FALSE");
    EXPECT_EQ(ini.read("PNLXXX", "PNL00"), "PNL-B,Haupteingang,012345,,FALSE");
    ValueFields fields;
    fields.split(ini.read("PNLXXX", "PNL01"));
    EXPECT_EQ(fields[4], "TRUE");  // the older firmware
    EXPECT_EQ(ini.read("PNLXXX", "PNL03"), "");

    auto db = Database::open(inst.path(kDatabaseFile), &error);
    ASSERT_TRUE(db) << error;
    EXPECT_EQ(db->columns("BEWOHNER").size(), 16u);  // the base form, before a first run
    const auto rows = db->query("SELECT Name, AUSLOESUNG FROM BEWOHNER ORDER BY ID");
    ASSERT_TRUE(rows);
    EXPECT_GE(rows->size(), 40u);
    int withoutSecond = 0;
    bool apostrophe = false, doubleName = false, umlaut = false;
    for (const auto& row : *rows) {
        const std::string name = dbText(row[0]);
        apostrophe |= name == "O'Neill";
        doubleName |= name.find('-') != std::string::npos;
        umlaut |= name.find("ü") != std::string::npos;
        withoutSecond += dbText(row[1]) == ",,000000";
        EXPECT_EQ(dbText(row[1]).size(), 8u);
    }
    EXPECT_TRUE(apostrophe && doubleName && umlaut);
    EXPECT_EQ(withoutSecond, 1);

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
    int onStation[3] = {0, 0, 0};
    const auto assignments = assigned->query("SELECT PNL FROM BEWOHNER");
    ASSERT_TRUE(assignments);
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
