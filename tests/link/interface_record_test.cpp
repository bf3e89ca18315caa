#include <gtest/gtest.h>

#include "link/interface_record.h"
#include "support/com_window.h"

namespace pnl::test {
namespace {

TEST(TransferPort, TakesTheFirstPortOfOneToEightWhoseFieldZeroIsExactly30) {
    ComWindow window(
        "[Schnittstellen]\r\nCOM1=030,FALSE\r\nCOM2=51,TRUE\r\nCOM3= "
        "30,TRUE,ATZ,ATX,0,\r\nCOM5=30,FALSE\r\n");
    auto link = TransferPort(*window.program);
    ASSERT_TRUE(link);
    // "030" is kind 30 to the editor but not to the transfer; the leading blank is trimmed away.
    EXPECT_EQ(link->port, 3);
    EXPECT_TRUE(link->modem);
    EXPECT_EQ(link->init, "ATZ");
    EXPECT_EQ(link->dialPrefix, "0");

    window.writeFile(kSettingsCopy, "[Schnittstellen]\r\nCOM2=30,false\r\nCOM5=30,TRUE,A,B,C,\r\n");
    link = TransferPort(*window.program);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->port, 2);
    EXPECT_FALSE(link->modem);
    EXPECT_EQ(link->init, "");

    window.writeFile(kSettingsCopy,
                     "[Schnittstellen]\r\nCOM9=30,FALSE\r\nCOM10=30,FALSE\r\nCOM0=30,FALSE\r\n");
    EXPECT_FALSE(TransferPort(*window.program));
    EXPECT_EQ(CountPortsOfKind(*window.program, kStationLink, 0), 0);
    EXPECT_EQ(readInterfaceRecord(*window.program, 9), "");
}

TEST(CountPortsOfKind, CountsByLeadingNumberLeavesOutThePortAndKeepsTheKey) {
    ComWindow window("[Schnittstellen]\r\nCOM1=030,FALSE\r\nCOM2=51\r\nCOM4=30,TRUE,,,,\r\nCOM8=x,y\r\n");
    Program& program = *window.program;
    program.InitX.setKey("COM6");
    EXPECT_EQ(CountPortsOfKind(program, kStationLink, 3), 2);
    EXPECT_EQ(CountPortsOfKind(program, kStationLink, 1), 1);
    EXPECT_EQ(CountPortsOfKind(program, 51, 0), 1);
    // Empty and unreadable field 0 both read as kind 0.
    EXPECT_EQ(CountPortsOfKind(program, kNoDevice, 0), 5);
    EXPECT_EQ(program.InitX.key(), "COM6");
}

}  // namespace
}  // namespace pnl::test
