// Port presence and opening errors for mapped and unmapped paths.

#include <gtest/gtest.h>

#include <fstream>

#include "platform/poll_event_loop.h"
#include "platform/posix_serial.h"
#include "platform/pseudo_terminal.h"
#include "support/installation.h"

namespace pnl {
namespace {

TEST(SerialPortQueries, AMappedPathIsPresentWhenItExistsAndOpensOnlyWhenItIsATerminal) {
    test::TempFolder folder;
    const std::string plainFile = folder.path() + "/not-a-port";
    std::ofstream(plainFile) << "x";
    auto pty = PseudoTerminal::open();
    ASSERT_TRUE(pty);

    PortMap map;
    map.map(2, folder.path() + "/missing");
    map.map(3, plainFile);
    map.map(4, pty->slavePath());
    PosixSerialOptions options;
    options.lockFolder = folder.path();
    auto queries = makePosixPortQueries(map, options);
    EXPECT_EQ(queries->presence(1), 0);  // COM2
    EXPECT_EQ(queries->presence(2), 1);  // COM3: present, though no terminal
    EXPECT_EQ(queries->presence(3), 1);  // COM4
    EXPECT_EQ(queries->presence(-1), 0);
    EXPECT_EQ(queries->presence(8), 0);
    EXPECT_EQ(queries->status(2), 0);
    EXPECT_EQ(queries->status(0), 0);

    PollEventLoop loop;
    auto port = makePosixSerialPort(loop, map, options);
    std::string error;
    port->setCommPort(2);
    EXPECT_FALSE(port->open(&error));
    EXPECT_EQ(error, "Die Schnittstelle COM2 (" + folder.path() + "/missing) ist nicht vorhanden.");
    port->setCommPort(3);
    EXPECT_FALSE(port->open(&error));
    EXPECT_EQ(error, "COM3 (" + plainFile + ") ist keine serielle Schnittstelle.");
    EXPECT_FALSE(port->isOpen());
    port->setCommPort(4);
    EXPECT_TRUE(port->open(&error)) << error;
    EXPECT_EQ(port->commPort(), 4);
}

TEST(SerialPortQueries, TwoNamesOfOneDeviceShareItsLock) {
    test::TempFolder folder;
    auto pty = PseudoTerminal::open();
    ASSERT_TRUE(pty);
    ASSERT_TRUE(pty->link(folder.path() + "/station-link"));
    PortMap map;
    map.map(1, pty->slavePath());
    map.map(2, folder.path() + "/station-link");
    PosixSerialOptions options;
    options.lockFolder = folder.path();
    PollEventLoop loop;
    auto port = makePosixSerialPort(loop, map, options);
    port->setCommPort(2);
    ASSERT_TRUE(port->open());
    EXPECT_EQ(makePosixPortQueries(map, options)->status(1), 2);
}

}  // namespace
}  // namespace pnl
