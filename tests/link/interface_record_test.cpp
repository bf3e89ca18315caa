#include <gtest/gtest.h>

#include "link/interface_record.h"
#include "support/com_window.h"

namespace pnl::test {
namespace {

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
