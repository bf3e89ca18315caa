// The simulator's Hayes modem and the in-process line that joins it to the program's port on virtual time.

#include <gtest/gtest.h>

#include "support/recording_serial_port.h"
#include "support/sim_line.h"
#include "support/virtual_event_loop.h"
#include "tools/station_sim/simulator.h"

namespace pnl::sim {
namespace {

std::string frame(const std::string& body) {
    return "\x01" + body + "\x04";
}

class SimLine : public ::testing::Test {
  protected:
    void attach(std::vector<StationSetup> stations, std::optional<ModemSetup> modem = std::nullopt) {
        SimulatorSetup setup;
        setup.stations = std::move(stations);
        setup.modem = std::move(modem);
        simulator = std::make_unique<Simulator>(loop, std::move(setup));
        test::attachSimulator(port, *simulator, loop);
        ASSERT_TRUE(port.open());
        port.setReceiveHandler([this](const std::string& bytes) {
            received += bytes;
            receivedAt.push_back(loop.now());
        });
    }

    test::VirtualEventLoop loop;
    test::RecordingSerialPort port{loop};
    std::unique_ptr<Simulator> simulator;
    std::string received;
    std::vector<std::int64_t> receivedAt;
};

TEST_F(SimLine, BytesTakeTheirTimeOnTheLineAndNeverOvertake) {
    attach({{123456, Firmware::V3}});
    const std::int64_t start = loop.now();
    // Two outputs at the same instant: the select must reach the station before the query.
    port.output(frame("(01E24001"));
    port.output(frame("*0000"));
    loop.advance(100);
    EXPECT_EQ(received, "\x01*01E2400000000000\x04");
    ASSERT_EQ(receivedAt.size(), 1u);
    EXPECT_EQ(receivedAt[0] - start, 19 + 20);  // 18 bytes out, 19 back, at 1.04 ms each, rounded up
    EXPECT_FALSE(port.carrier);

    // An answer that arrives when the program has closed its port is lost.
    received.clear();
    port.output(frame("*0000"));
    loop.advance(10);
    port.close();
    loop.advance(100);
    EXPECT_TRUE(received.empty());
}

TEST_F(SimLine, TheModemCallsKnownNumbersOnlyAndPassesFramesOnlyWhileConnected) {
    ModemSetup modem;
    modem.numbers["0123456"] = 12345;
    modem.carrierDelayMs = 5000;
    attach({{12345, Firmware::V3}, {54321, Firmware::V3}}, modem);

    port.output("AT&F&D2 S0=0\n\r");
    loop.advance(50);
    EXPECT_EQ(received, "OK\r\n");
    port.output(frame("(00303901") + frame("*0000"));  // no call yet: the frames reach nobody
    loop.advance(50);
    EXPECT_EQ(simulator->ignoredFrames(), 2);
    EXPECT_EQ(received, "OK\r\n");

    received.clear();
    port.output("ATDT 0999\n\r");
    loop.advance(60'000);
    EXPECT_FALSE(port.carrier);
    EXPECT_EQ(received, "NO CARRIER\r\n");

    received.clear();
    port.output("ATDT 0123456\n\r");
    loop.advance(4990);
    EXPECT_FALSE(port.carrier);
    loop.advance(100);
    EXPECT_TRUE(port.carrier);
    EXPECT_EQ(received, "CONNECT 9600\r\n");

    // Connected to 12345: it answers; 54321 is not on this call.
    received.clear();
    port.output(frame("(00D43101") + frame("*0000"));
    loop.advance(100);
    EXPECT_TRUE(received.empty());
    port.output(frame("(00303901") + frame("*0000"));
    loop.advance(100);
    EXPECT_EQ(received, "\x01*0030390000000000\x04");

    // The program hangs up without an escape sequence.
    received.clear();
    port.output("ATH\n\r");
    loop.advance(50);
    EXPECT_FALSE(port.carrier);
    EXPECT_EQ(received, "OK\r\n");
    const int ignored = simulator->ignoredFrames();
    port.output(frame("(00303901"));
    loop.advance(50);
    EXPECT_EQ(simulator->ignoredFrames(), ignored + 1);

    EXPECT_EQ(simulator->modemCommands(),
              (std::vector<std::string>{"AT&F&D2 S0=0", "ATDT 0999", "ATDT 0123456", "ATH"}));
    EXPECT_TRUE(simulator->malformed().empty());
}

TEST_F(SimLine, AConfiguredDialPrefixMustMatch) {
    ModemSetup modem;
    modem.dialPrefix = "ATX3DP";
    modem.numbers["77"] = 12345;
    attach({{12345, Firmware::V3}}, modem);
    port.output("ATDT 77\n\r");  // not the configured prefix: an ordinary command
    loop.advance(10'000);
    EXPECT_FALSE(port.carrier);
    EXPECT_EQ(received, "OK\r\n");
    port.output("ATX3DP 77\n\r");
    loop.advance(10'000);
    EXPECT_TRUE(port.carrier);
}

}  // namespace
}  // namespace pnl::sim
