// The station simulator fed with hand-written frames, as a station would see them on its line; then its Hayes
// modem, behind the in-process line that joins it to the program's port on virtual time.

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

// Record 1 of 2 for a 3.x station: Müller, Anna, apartment 12, serial 4711, no second serial, code 0.
const std::string kMuellerAnna = frame(")00804D836C6C65722C20") + frame(")0088416E6E6100000000") +
                                 frame(")00900000000000000000") + frame(")00980000000000000000") +
                                 frame(")00A03132000000000012") + frame(")00A86700000000000002") +
                                 frame(")00B00000000000000000");
// Record 2 of 2: Schmidt, apartment 3a, serial 1000 (0003E8), preceded by 1, last, code 1234 (0004D2).
const std::string kSchmidt = frame(")00B85363686D69647400") + frame(")00C00000000000000000") +
                             frame(")00C80000000000000000") + frame(")00D00000000000000000") +
                             frame(")00D83361000000000003") + frame(")00E0E800000000010002") +
                             frame(")00E80004D20000000000");

class StationSim : public ::testing::Test {
  protected:
    void make(std::vector<StationSetup> stations) {
        simulator = std::make_unique<Simulator>(loop, SimulatorSetup{std::move(stations), {}, std::nullopt});
        simulator->setOutput([this](const std::string& bytes) { answers.push_back({loop.now(), bytes}); });
        simulator->setClosedHandler([this](const Directory& d) { closed.push_back(d); });
    }

    test::VirtualEventLoop loop;
    std::unique_ptr<Simulator> simulator;
    std::vector<std::pair<std::int64_t, std::string>> answers;
    std::vector<Directory> closed;
};

TEST_F(StationSim, ATransferDecodesToTheDirectoryInLinkOrderAndOtherStationsFramesReachNobody) {
    make({{123456, Firmware::V3}});
    simulator->receive(frame("(00D43101") + frame(")00804D836C6C65722C20") + frame("*0000"));  // 54321
    simulator->receive(frame("(01E24001") + frame("*0000"));
    EXPECT_EQ(simulator->openedStation(), 123456u);
    loop.advance(10);
    ASSERT_EQ(answers.size(), 1u);  // only the opened station answers
    EXPECT_EQ(answers[0].second, "\x01*01E2400000000000\x04");
    // Record 2 first: the directory follows the links, not the order of writing.
    simulator->receive(kSchmidt);
    // Bytes split anywhere across reads make no difference.
    for (char c : kMuellerAnna)
        simulator->receive(std::string(1, c));
    simulator->receive(frame(")00060100020001000000"));
    EXPECT_TRUE(closed.empty());
    simulator->receive(frame("(01E24080") + frame("*0000"));  // closed: no answer
    EXPECT_FALSE(simulator->openedStation());

    ASSERT_EQ(closed.size(), 1u);
    const Directory& d = closed[0];
    EXPECT_EQ(d.serial, 123456u);
    EXPECT_EQ(d.count, 2);
    EXPECT_TRUE(d.errors.empty()) << d.errors[0];
    EXPECT_EQ(d.records, (std::vector<DirectoryRecord>{{1, "Müller, Anna", "12", 4711, 0, 0, 0, 2},
                                                       {2, "Schmidt", "3a", 1000, 0, 1234, 1, 2}}));
    EXPECT_EQ(simulator->framesOf(123456).size(), 2u + 14u + 1u + 1u);
    EXPECT_TRUE(simulator->malformed().empty());

    // Opening another station deselects ours: its writes no longer land here.
    const Memory before = *simulator->memoryOf(123456);
    simulator->receive(frame("(01E24001") + frame("(00D43101") + frame(")00804D836C6C65722C20") +
                       frame("(00D43180"));
    loop.advance(100);
    EXPECT_EQ(*simulator->memoryOf(123456), before);
    EXPECT_EQ(answers.size(), 1u);
    EXPECT_EQ(closed.size(), 1u);
    EXPECT_EQ(simulator->ignoredFrames(), 7);
    EXPECT_FALSE(simulator->memoryOf(54321));
}

TEST_F(StationSim, TheStationsFirmwareDecidesHowNamesReadBack) {
    make({{12345, Firmware::V27}, {54321, Firmware::V3}});
    // The same name bytes in both stations: 4D 81 6C 6C 65 72, and the special letters of each table.
    const std::string record = frame(")00804D816C6C6572208E") + frame(")0088999A8494E1414200") +
                               frame(")00900000000000000000") + frame(")00980000000000000000") +
                               frame(")00A07E7F8082830000") + frame(")00A80000000000000001") +
                               frame(")00B00000000000000000");
    const std::string header = frame(")00060100010001000000");
    simulator->receive(frame("(00303901") + record + header + frame("(00303980"));
    simulator->receive(frame("(00D43101") + record + header + frame("(00D43180"));
    // The apartment frame above is one byte short: reported, and its bytes never written.
    ASSERT_EQ(simulator->malformed().size(), 2u);
    EXPECT_EQ(simulator->malformed()[0].reason, "Schreibrahmen mit 19 statt 21 Zeichen");

    const auto old = simulator->directoryOf(12345);
    const auto current = simulator->directoryOf(54321);
    ASSERT_TRUE(old && current);
    ASSERT_EQ(old->records.size(), 1u);
    ASSERT_EQ(current->records.size(), 1u);
    EXPECT_EQ(old->records[0].name, "Müller ÄÖÜäößAB");
    // On 3.x, 81 is ä, 8E è and 84 ß; 99 9A 94 E1 mean nothing.
    EXPECT_EQ(current->records[0].name, "Mäller è??ß??AB");
    ASSERT_EQ(current->errors.size(), 2u);  // those four bytes; the apartment never written (FF)
    EXPECT_EQ(current->errors[0], "Datensatz 1 Name: Bytes ohne Zeichen in Firmware 3.x: 99 9A 94 E1");

    // 3.x: 4D 83 6C 6C 65 72 is Müller; Ä and Ö sit where "~" and DEL would be.
    const std::string v3 = frame(")00804D836C6C65727E7F") + frame(")00888081828384858687") +
                           frame(")009088898A8B8C8D8E8F") + frame(")00989091005F00000000") +
                           frame(")00A00000000000000000") + frame(")00A80000000000000001") +
                           frame(")00B00000000000000000");
    simulator->receive(frame("(00D43101") + v3 + header + frame("(00D43180"));
    const auto all = simulator->directoryOf(54321);
    EXPECT_EQ(all->records[0].name, "MüllerÄÖÜäöüßÅØÆåøæàáâèéêç");
    // The "_" after the terminator is reported: the rest of the name must be 0.
    ASSERT_EQ(all->errors.size(), 1u);
    EXPECT_NE(all->errors[0].find("nach dem Ende nicht alles 0"), std::string::npos);
}

TEST_F(StationSim, MalformedFramesAreReportedAndTheNextFrameStillCounts) {
    make({{123456}});
    simulator->receive(frame("(01e24001"));              // lower-case digits
    simulator->receive(frame("(01E240015"));             // one character too many
    simulator->receive(frame(")0080ZZ836C6C65722C20"));  // no hex data
    simulator->receive(frame("+0000"));                  // no such command
    simulator->receive(frame("*0001"));
    simulator->receive(frame("(01E24055"));  // no such code
    simulator->receive("\x01(01E2");         // cut off by the next frame
    simulator->receive(frame("(01E24001"));
    simulator->receive(frame(")FFFC0000000000000000"));  // past the end of memory

    std::vector<std::string> reasons;
    for (const auto& bad : simulator->malformed())
        reasons.push_back(bad.reason);
    EXPECT_EQ(reasons, (std::vector<std::string>{
                           "Seriennummer nicht in Hexziffern (A-F groß)",
                           "Auswahlrahmen mit 10 statt 9 Zeichen",
                           "Daten nicht in Hexziffern (A-F groß)",
                           "unbekanntes Kommandozeichen",
                           "Abfragerahmen ist nicht *0000",
                           "unbekannter Code 55",
                           "Rahmen ohne Ende (EOT)",
                           "Adresse über das Speicherende",
                       }));
    EXPECT_EQ(simulator->malformed()[6].bytes, "\x01(01E2");
    EXPECT_EQ(simulator->openedStation(), 123456u);
}

TEST_F(StationSim, ABrokenDirectoryIsReportedNotGuessed) {
    make({{123456}});
    // Count 3, but record 2 ends the chain and names the wrong predecessor; record 1's name is not
    // terminated.
    simulator->receive(frame("(01E24001"));
    simulator->receive(frame(")00804141414141414141") + frame(")00884141414141414141") +
                       frame(")00904141414141414141") + frame(")00984141414141414141") +
                       frame(")00A00000000000000000") + frame(")00A80000000000000002") +
                       frame(")00B00000000000000000"));
    simulator->receive(frame(")00B84200000000000000") + frame(")00C00000000000000000") +
                       frame(")00C80000000000000000") + frame(")00D00000000000000000") +
                       frame(")00D80000000000000000") + frame(")00E00000000000050002") +
                       frame(")00E80000000000000000"));
    simulator->receive(frame(")00060100030001000000") + frame("(01E24080"));
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0].records.size(), 2u);
    EXPECT_EQ(closed[0].records[0].name, std::string(32, 'A'));
    EXPECT_EQ(closed[0].errors,
              (std::vector<std::string>{"Datensatz 1 Name ohne abschließendes Nullbyte",
                                        "Datensatz 2: Vorgänger 5 statt 1",
                                        "Datensatz 2 beendet die Kette nach 2 von 3 Datensätzen"}));

    // A station that was opened and closed without any data holds no valid header.
    make({{7}});
    simulator->receive(frame("(00000701") + frame("(00000780"));
    ASSERT_EQ(closed.size(), 2u);
    EXPECT_EQ(closed[1].errors.size(), 2u);  // header FF..., count 65535 beyond 582
    EXPECT_TRUE(closed[1].records.empty());
}

TEST(SimLine, TheModemCallsKnownNumbersWithItsPrefixAndPassesFramesOnlyWhileConnected) {
    test::VirtualEventLoop loop;
    test::RecordingSerialPort port{loop};
    Simulator simulator(loop, {{{12345, Firmware::V3}, {54321, Firmware::V3}},
                               {},
                               ModemSetup{"ATX3DP", {{"0123456", 12345}}, 5000}});
    test::attachSimulator(port, simulator, loop);
    ASSERT_TRUE(port.open());
    std::string received;
    port.setReceiveHandler([&](const std::string& bytes) { received += bytes; });
    struct Step {
        std::string sent;
        int waitMs;
        std::string answer;
        bool carrier;
    };
    const Step steps[] = {
        {"AT&F&D2 S0=0\n\r", 50, "OK\r\n", false},
        {frame("(00303901") + frame("*0000"), 50, "", false},  // no call yet: the frames reach nobody
        {"ATDT 0123456\n\r", 10'000, "OK\r\n", false},  // not the configured prefix: an ordinary command
        {"ATX3DP 0999\n\r", 60'000, "NO CARRIER\r\n", false},
        {"ATX3DP 0123456\n\r", 4990, "", false},
        {"", 100, "CONNECT 9600\r\n", true},
        {frame("(00D43101") + frame("*0000"), 100, "", true},  // 54321 is not on this call
        {frame("(00303901") + frame("*0000"), 100, "\x01*0030390000000000\x04", true},
        {"ATH\n\r", 50, "OK\r\n", false},  // hung up without an escape sequence
        {frame("(00303901"), 50, "", false},
    };
    for (const Step& step : steps) {
        received.clear();
        port.output(step.sent);
        loop.advance(step.waitMs);
        EXPECT_EQ(received, step.answer) << step.sent;
        EXPECT_EQ(port.carrier, step.carrier) << step.sent;
    }
    EXPECT_EQ(simulator.ignoredFrames(), 5);
    EXPECT_EQ(simulator.modemCommands(), (std::vector<std::string>{"AT&F&D2 S0=0", "ATDT 0123456",
                                                                   "ATX3DP 0999", "ATX3DP 0123456", "ATH"}));
    EXPECT_TRUE(simulator.malformed().empty());
}

}  // namespace
}  // namespace pnl::sim
