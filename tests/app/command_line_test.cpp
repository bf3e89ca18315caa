#include <gtest/gtest.h>

#include "app/command_line.h"

namespace pnl {
namespace {

TEST(CommandLine, OptionsThenTheLevelText) {
    const auto line = CommandLine::parse(
        {"--folder", "/srv/anlage/", "--port", "COM3=/dev/ttyUSB0", "--port=COM1=/tmp/pty", "3"}, "/opt/pnl");
    EXPECT_TRUE(line.errors.empty());
    EXPECT_EQ(line.folder, "/srv/anlage");
    EXPECT_EQ(line.ports.pathOf(3), "/dev/ttyUSB0");
    EXPECT_EQ(line.ports.pathOf(1), "/tmp/pty");
    EXPECT_EQ(line.ports.pathOf(2), "/dev/ttyS1");
    EXPECT_EQ(line.levelText, "3");
    EXPECT_EQ(levelFromCommandLine(line.levelText), 3);

    EXPECT_TRUE(line.folderGiven);
    const auto bare = CommandLine::parse({}, "/opt/pnl");
    EXPECT_EQ(bare.folder, "/opt/pnl");
    EXPECT_FALSE(bare.folderGiven || bare.help || bare.version);
    EXPECT_TRUE(CommandLine::parse({"--help"}, "/p").help);
    EXPECT_TRUE(CommandLine::parse({"--version", "5"}, "/p").version);
    EXPECT_EQ(bare.levelText, "");
    EXPECT_TRUE(bare.errors.empty());

    const auto headless = CommandLine::parse({"--probe", "02", "--transfer=0,1", "5"}, "/opt/pnl");
    EXPECT_EQ(headless.probe, "02");
    EXPECT_EQ(headless.transfer, "0,1");
    EXPECT_EQ(headless.levelText, "5");
}

TEST(CommandLine, GarbageIsReportedAndNeverALevel) {
    const auto line =
        CommandLine::parse({"--folder", "--bogus", "--port", "COM9=/dev/x", "--port", "ttyS0"}, "/p");
    EXPECT_EQ(line.folder, "/p");  // an option is never taken as a value
    EXPECT_EQ(line.errors, (std::vector<std::string>{
                               "Option --folder ohne Wert", "Unbekannte Option: --bogus",
                               "Ungültige Portzuordnung \"COM9=/dev/x\" (erwartet: COMn=PFAD, n = 1 bis 8)",
                               "Ungültige Portzuordnung \"ttyS0\" (erwartet: COMn=PFAD, n = 1 bis 8)"}));
    const auto missing = CommandLine::parse({"--port"}, "/p");
    ASSERT_EQ(missing.errors.size(), 1u);
    EXPECT_EQ(missing.errors[0], "Option --port ohne Wert");
    const auto unknown = CommandLine::parse({"--level=3", "-1"}, "/p");
    ASSERT_EQ(unknown.errors.size(), 1u);
    EXPECT_EQ(unknown.levelText, "-1");

    EXPECT_EQ(levelFromCommandLine(""), 0);
    EXPECT_EQ(levelFromCommandLine("0"), 0);
    EXPECT_EQ(levelFromCommandLine("7"), 0);
    EXPECT_EQ(levelFromCommandLine("-1"), 0);
    EXPECT_EQ(levelFromCommandLine("abc"), 0);
    EXPECT_EQ(levelFromCommandLine("6"), 6);
    EXPECT_EQ(levelFromCommandLine(" 2 zwei"), 2);
    EXPECT_EQ(levelFromCommandLine("6.6"), 6);
    EXPECT_EQ(levelFromCommandLine("99999999999999999999999"), 0);
}

}  // namespace
}  // namespace pnl
