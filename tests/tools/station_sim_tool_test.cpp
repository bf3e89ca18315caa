// The built pnl-station-sim over a real pseudo-terminal, driven through the program's own serial adapter.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/poll_event_loop.h"
#include "platform/posix_serial.h"
#include "support/installation.h"

namespace pnl {
namespace {

using std::chrono::milliseconds;

std::string frame(const std::string& body) {
    return "\x01" + body + "\x04";
}

std::string readAll(std::FILE* stream) {
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0)
        text.append(buffer, n);
    return text;
}

void pause(PollEventLoop& loop, int ms) {
    bool over = false;
    loop.startTimer(milliseconds(ms), false, [&] { over = true; });
    loop.processEventsUntil([&] { return over; });
}

TEST(StationSimTool, ProbedAndFilledOverAPseudoTerminal) {
    test::TempFolder folder;
    const std::string link = folder.path() + "/pnl-line";
    const std::string json = folder.path() + "/stations.json";
    const std::string command = "timeout -k 5 30 " PNL_BINARY_DIR
                                "/pnl-station-sim --station 123456 --station 12345:27 "
                                "--link " +
                                link + " --json " + json + " --exit-after-close 2";
    std::FILE* tool = ::popen(command.c_str(), "r");
    ASSERT_TRUE(tool);
    char first[256] = {};
    ASSERT_TRUE(std::fgets(first, sizeof first, tool));
    EXPECT_EQ(std::string(first).rfind("/dev/pts/", 0), 0u) << first;

    PortMap map;
    map.map(1, link);
    PosixSerialOptions options;
    options.lockFolder = folder.path();
    PollEventLoop loop;
    auto port = makePosixSerialPort(loop, map, options);
    std::string received;
    port->setReceiveHandler([&](const std::string& bytes) { received += bytes; });
    port->setCommPort(1);
    ASSERT_TRUE(port->setSettings("9600,N,8,1"));
    std::string error;
    ASSERT_TRUE(port->open(&error)) << error;

    // The probe's exchange.
    ASSERT_TRUE(port->output(frame("(01E24001")));
    pause(loop, 100);
    received.clear();
    ASSERT_TRUE(port->output(frame("*0000")));
    pause(loop, 300);
    EXPECT_EQ(received.size(), 19u);
    EXPECT_EQ(received.substr(0, 2), "\x01*");
    ASSERT_TRUE(port->output(frame("(01E24000")));
    ASSERT_TRUE(port->output(frame("+0000")));  // no frame of the station: reported

    // One resident into each station; the older one reads 81 as ü.
    const std::string header = frame(")00060100010001000000");
    const std::string tail = frame(")00880000000000000000") + frame(")00900000000000000000") +
                             frame(")00980000000000000000") + frame(")00A03132000000000012") +
                             frame(")00A86700000000000001") + frame(")00B00000000000000000");
    ASSERT_TRUE(port->output(frame("(01E24001") + frame(")00804D836C6C65720000") + tail + header +
                             frame("(01E24080")));
    ASSERT_TRUE(port->output(frame("(00303901") + frame(")00804D816C6C65720000") + tail + header +
                             frame("(00303980")));
    const std::string output = readAll(tool);  // ends when the tool has exited after the second close
    port->close();
    const int status = ::pclose(tool);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << output;  // the malformed frames below were reported
    EXPECT_NE(output.find("Fehlerhafter Rahmen: <01>+0000<04> (unbekanntes Kommandozeichen)\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("PNL 123456 (Firmware 3.x): 1 Bewohner\n    1 Müller|12|4711|0|0  (0 -> 1)\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("PNL 12345 (Firmware 2.7X): 1 Bewohner\n    1 Müller|12|4711|0|0  (0 -> 1)\n"),
              std::string::npos)
        << output;

    std::ifstream in(json);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_NE(content.str().find("\"serial\": 12345, \"firmware\": \"2.7X\""), std::string::npos)
        << content.str();
    EXPECT_NE(content.str().find("\"serial\": 123456, \"firmware\": \"3.x\""), std::string::npos)
        << content.str();
    EXPECT_NE(
        content.str().find("{\"name\": \"Müller\", \"apartment\": \"12\", \"serial1\": 4711, \"serial2\": 0, "
                           "\"code\": 0, \"prev\": 0, \"next\": 1}"),
        std::string::npos);
    EXPECT_FALSE(std::ifstream(link).good());  // the link is removed at the end
}

}  // namespace
}  // namespace pnl
